// settings.txt: read once at start-up, written when missing and on every save.
#include "app/appState.h"
#include "app/fileBytes.h"
#include "settings/settings.h"
#include "settings/settingsText.h"

#include <string>

namespace {

const wchar_t settingsFileName[] = L"settings.txt";

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

// The file a save replaces: settings.txt, or the file it leads to when it is a symbolic link (a
// settings file kept in a folder of dotfiles), so that the link stays a link and what it leads to
// gets the new values. Wine (8.0) shows a Unix link to a file as a plain file: no reparse-point
// attribute, no reparse tag from FindFirstFileW. But the final path of the opened file is where
// the links lead (Wine resolves it as realpath does; Windows follows NTFS links on opening), so
// it is asked for every file. A link that leads nowhere, or to no file on a disk (a device), is
// replaced like a plain file.
std::wstring fileToReplace()
{
    HANDLE file =
        CreateFileW(settingsFileName, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return settingsFileName;
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    if (GetFileType(file) == FILE_TYPE_DISK) {
        length = GetFinalPathNameByHandleW(file, &path[0], static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
        // Too long for the buffer: the length asked for counts the terminating null.
        if (length > path.size()) {
            path.resize(length);
            length = GetFinalPathNameByHandleW(file, &path[0], static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED);
        }
    }
    CloseHandle(file);
    if (length == 0 || length >= path.size())
        return settingsFileName;
    path.resize(length);
    return path;
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
    // It is made beside the file it replaces, so that the move is a rename within one volume.
    const std::string bytes = formatSettingsText(appState.textSize, appState.fontFamily);
    const std::wstring target = fileToReplace();
    const std::wstring temporary = target + L".tmp";
    if (writeWholeFile(temporary.c_str(), bytes) &&
        MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}
