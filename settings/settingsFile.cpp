// settings.txt: read once at start-up, written when missing and on every save.
#include "app/appState.h"
#include "app/fileBytes.h"
#include "settings/settings.h"
#include "settings/settingsText.h"

namespace {

const wchar_t settingsFileName[] = L"settings.txt";
const wchar_t temporaryFileName[] = L"settings.txt.tmp";

bool writeWholeFile(const wchar_t* name, const std::string& bytes)
{
    HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                 written == bytes.size() && FlushFileBuffers(file);
    return CloseHandle(file) && whole;
}

}  // namespace

void loadSettings()
{
    appState.textSize = defaultTextSize;
    appState.fontFamily = defaultFontFamily;
    std::string bytes;
    // A file too large is not unreadable: its first two lines are all that is read.
    if (!readFileBeginning("settings.txt", maxSettingsFileBytes, bytes)) {
        writeSettings();
        return;
    }
    parseSettingsText(bytes, appState.textSize, appState.fontFamily);
    // A size the fonts cannot be built from is not used; the file keeps what it says.
    if (!isUsableTextSize(appState.textSize))
        appState.textSize = defaultTextSize;
}

bool writeSettings()
{
    // A settings.txt marked read-only is left as it is. Windows refuses to replace it anyway;
    // Wine (8.0) replaces it, so the mark is checked here.
    DWORD attributes = GetFileAttributesW(settingsFileName);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    // The new content goes to a temporary file that then replaces settings.txt in one step, so
    // a failed write never leaves the settings lost or cut short.
    std::string bytes = formatSettingsText(appState.textSize, appState.fontFamily);
    if (writeWholeFile(temporaryFileName, bytes) &&
        MoveFileExW(temporaryFileName, settingsFileName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporaryFileName);
    return false;
}
