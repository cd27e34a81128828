// settings.txt read and written through the real start-up and files, and the settings window
// driven with real messages.
#include "tests/wine/testProgram.h"

#include "settings/settings.h"
#include "settings/settingsText.h"

#include <string>
#include <vector>

namespace {

const std::string quotesBytes = "one two three\n";

class SettingsFileTest : public ProgramTest {};
class SettingsWindowTest : public ProgramTest {};

bool startWithSettings(const std::string& bytes)
{
    return startProgram(quotesBytes, &bytes);
}

void openSettings()
{
    SendMessageW(appState.mainWindow, WM_COMMAND, CMD_SETTINGS, 0);
    pumpMessages();
}

// Puts the texts in the open window's fields (null leaves a field as it is). SetWindowTextW is
// how pasted text gets there too: ES_NUMBER only filters typed characters.
void fillFields(const wchar_t* sizeText, const wchar_t* familyText)
{
    if (sizeText)
        SetWindowTextW(appState.textSizeEdit, sizeText);
    if (familyText)
        SetWindowTextW(appState.fontFamilyCombo, familyText);
}

void saveWith(const wchar_t* sizeText, const wchar_t* familyText)
{
    openSettings();
    fillFields(sizeText, familyText);
    SendMessageW(appState.settingsWindow, WM_COMMAND, CMD_SAVE, 0);
    pumpMessages();
}

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring formatFamily()
{
    wchar_t name[100] = {};
    appState.textFormat->GetFontFamilyName(name, 100);
    return name;
}

std::wstring formatLocale()
{
    wchar_t name[100] = {L'?'};
    appState.textFormat->GetLocaleName(name, 100);
    return name;
}

float layoutFontSize()
{
    float size = 0.0f;
    appState.textLayout->GetFontSize(0, &size, nullptr);
    return size;
}

LOGFONTW fontOf(HFONT font)
{
    LOGFONTW description = {};
    GetObjectW(font, sizeof description, &description);
    return description;
}

HFONT fontInBox()
{
    return reinterpret_cast<HFONT>(SendMessageW(appState.typingEdit, WM_GETFONT, 0, 0));
}

// Leaves the work folder so that the next run's start-up can delete and write settings.txt,
// whatever became of the test.
struct SettingsFileCleanup {
    std::wstring path;
    SettingsFileCleanup()
    {
        wchar_t full[MAX_PATH] = {};
        GetFullPathNameW(L"settings.txt", MAX_PATH, full, nullptr);
        path = full;
    }
    ~SettingsFileCleanup()
    {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(path.c_str());
    }
};

}  // namespace

// Start-up writes a missing file, and builds the typing font and the text format from what it
// read: unchecked sizes such as 250 as they are, sizes they cannot be built from as 20.
TEST_F(SettingsFileTest, startUpBuildsTheFontsFromTheFile)
{
    struct Start {
        const char* bytes;
        float size;
        const wchar_t* family;
        std::string fileAfter;
    };
    const Start starts[] = {{nullptr, 20.0f, L"Arial", "20\r\nArial"},
                            {"250\r\nGeorgia", 250.0f, L"Georgia", "250\r\nGeorgia"},
                            {"nan\r\nGeorgia", 20.0f, L"Georgia", "nan\r\nGeorgia"}};
    for (const Start& start : starts) {
        SCOPED_TRACE(start.fileAfter);
        const std::string bytes = start.bytes ? start.bytes : "";
        ASSERT_TRUE(startProgram(quotesBytes, start.bytes ? &bytes : nullptr));
        EXPECT_EQ(readWorkFile("settings.txt"), start.fileAfter);
        EXPECT_FALSE(workFileExists("settings.txt.tmp"));
        EXPECT_EQ(appState.textSize, start.size);
        EXPECT_EQ(appState.fontFamily, start.family);
        EXPECT_EQ(appState.textFormat->GetFontSize(), start.size);
        EXPECT_EQ(formatFamily(), start.family);
        EXPECT_EQ(formatLocale(), L"en-us");
        EXPECT_EQ(fontOf(appState.editFont).lfHeight, static_cast<LONG>(start.size));
        EXPECT_STREQ(fontOf(appState.editFont).lfFaceName, start.family);
        stopProgram();
    }
}

// The reading itself is the logic tests' part; here the real file is read as it stands, a size
// the fonts cannot be built from falls back to 20, and nothing is rewritten.
TEST_F(SettingsFileTest, fileIsReadAsItStandsAndNotRewritten)
{
    ASSERT_TRUE(startProgram(quotesBytes, nullptr));
    struct Case {
        std::string bytes;
        float size;
        std::wstring family;
    };
    const Case cases[] = {
        {"", 20.0f, L"Arial"},
        {"12.5\r\nGeorgia\r\nthird", 12.5f, L"Georgia"},
        // A leading UTF-8 mark is not part of the size, and stays in the file until a save.
        {"\xEF\xBB\xBF"
         "40\r\nCaf\xE9",
         40.0f, L"Caf\u00E9"},
        // Sizes the fonts cannot be built from.
        {"inf\r\nGeorgia", 20.0f, L"Georgia"},
        {"0\r\nGeorgia", 20.0f, L"Georgia"},
        {"1500\r\nGeorgia", 20.0f, L"Georgia"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        writeWorkFile("settings.txt", c.bytes);
        appState.textSize = 55.0f;
        appState.fontFamily = L"Segoe Script";
        loadSettings();
        EXPECT_EQ(appState.textSize, c.size);
        EXPECT_EQ(appState.fontFamily, c.family);
        EXPECT_EQ(readWorkFile("settings.txt"), c.bytes);
        EXPECT_FALSE(workFileExists("settings.txt.tmp"));
    }
}

// The Windows C runtime's printf writes exponents its own way; the size is formatted without
// it, and the Windows build must write what the native one does.
TEST_F(SettingsFileTest, writtenFileHasTheExactBytesAndReadsBack)
{
    EXPECT_EQ(formatTextSize(15000000.0f), "1.5e+07");
    EXPECT_EQ(formatTextSize(123456789.0f), "1.23457e+08");
    EXPECT_EQ(formatTextSize(0.00001f), "1e-05");

    ASSERT_TRUE(startWithSettings("12.5\r\nGeorgia"));
    EXPECT_TRUE(writeSettings());
    EXPECT_EQ(readWorkFile("settings.txt"), std::string("12.5\r\nGeorgia"));
    appState.textSize = 15000000.0f;
    EXPECT_TRUE(writeSettings());
    EXPECT_EQ(readWorkFile("settings.txt"), std::string("1.5e+07\r\nGeorgia"));

    saveWith(L"90", L"Times New Roman");
    const std::string written = readWorkFile("settings.txt");
    EXPECT_EQ(written, std::string("90\r\nTimes New Roman"));
    EXPECT_EQ(written.size(), 19u);
    EXPECT_FALSE(workFileExists("settings.txt.tmp"));
    stopProgram();

    ASSERT_TRUE(startWithSettings(written));
    EXPECT_EQ(appState.textSize, 90.0f);
    EXPECT_EQ(appState.fontFamily, L"Times New Roman");
}

// A settings.txt that cannot be replaced (read-only, held open by another program, a folder)
// neither ends the program nor is lost: the old file stays whole, no temporary file is left
// and the new values still apply for the run.
TEST_F(SettingsFileTest, unwritableSettingsFileIsKeptWholeAndTheRunGoesOn)
{
    const std::string stored = "33\r\nGeorgia";
    ASSERT_TRUE(startWithSettings(stored));
    stopProgram();
    SettingsFileCleanup cleanup;
    ASSERT_TRUE(SetFileAttributesW(L"settings.txt", FILE_ATTRIBUTE_READONLY));

    ASSERT_TRUE(startProgram(quotesBytes, nullptr)) << "start-up with a read-only settings.txt";
    ASSERT_TRUE(workFileExists("settings.txt")) << "the fixture deleted the read-only file";
    EXPECT_EQ(appState.textSize, 33.0f);
    EXPECT_EQ(appState.fontFamily, L"Georgia");
    EXPECT_FALSE(writeSettings());
    saveWith(L"50", L"Calibri");
    EXPECT_EQ(readWorkFile("settings.txt"), stored);
    EXPECT_FALSE(workFileExists("settings.txt.tmp"));
    EXPECT_EQ(appState.textSize, 50.0f);
    EXPECT_EQ(appState.fontFamily, L"Calibri");
    EXPECT_EQ(appState.textFormat->GetFontSize(), 50.0f);
    EXPECT_TRUE(IsWindowEnabled(appState.mainWindow));

    SetFileAttributesW(L"settings.txt", FILE_ATTRIBUTE_NORMAL);
    HANDLE lock = CreateFileW(L"settings.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    saveWith(L"60", nullptr);
    CloseHandle(lock);
    EXPECT_EQ(readWorkFile("settings.txt"), stored);
    EXPECT_FALSE(workFileExists("settings.txt.tmp"));
    EXPECT_EQ(appState.textSize, 60.0f);
    stopProgram();

    DeleteFileW(L"settings.txt");
    ASSERT_TRUE(CreateDirectoryW(L"settings.txt", nullptr));
    ASSERT_TRUE(startProgram(quotesBytes, nullptr)) << "start-up with a folder named settings.txt";
    EXPECT_EQ(appState.textSize, 20.0f);
    EXPECT_EQ(appState.fontFamily, L"Arial");
    saveWith(L"50", L"Georgia");
    const DWORD attributes = GetFileAttributesW(L"settings.txt");
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) << "not a folder";
    EXPECT_FALSE(workFileExists("settings.txt.tmp"));
    EXPECT_EQ(appState.textSize, 50.0f);
    EXPECT_EQ(appState.fontFamily, L"Georgia");
}

TEST_F(SettingsWindowTest, windowHasItsTitleOwnerClassStyleAndPlace)
{
    ASSERT_TRUE(startProgram(quotesBytes, nullptr));
    openSettings();
    HWND window = appState.settingsWindow;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(windowText(window), L"Settings");
    EXPECT_EQ(GetWindow(window, GW_OWNER), appState.mainWindow);
    EXPECT_FALSE(IsWindowEnabled(appState.mainWindow));

    // As DWORD: WS_POPUP is the sign bit of a LONG.
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD), 0u);
    RECT desktop = clientRectOf(GetDesktopWindow());
    RECT outer = {};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer, (RECT{desktop.right / 3, desktop.bottom / 7, desktop.right / 3 + 380, desktop.bottom / 7 + 500}));

    EXPECT_EQ(classOf(window), SETTINGS_WINDOW_CLASS);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HCURSOR), reinterpret_cast<ULONG_PTR>(LoadCursorW(nullptr, IDC_ARROW)));
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HICON), 0u);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HICONSM), 0u);
    // The window itself shows the program's icon.
    EXPECT_EQ(SendMessageW(window, WM_GETICON, ICON_SMALL, 0),
              reinterpret_cast<LRESULT>(LoadIconW(appState.instance, MAKEINTRESOURCEW(IDI_SMALL))));
    EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));

    // Static controls are painted on white.
    HDC context = GetDC(window);
    SetBkColor(context, RGB(0, 0, 0));
    EXPECT_EQ(SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(context),
                           reinterpret_cast<LPARAM>(GetWindow(window, GW_CHILD))),
              reinterpret_cast<LRESULT>(appState.backgroundBrush));
    EXPECT_EQ(GetBkColor(context), RGB(255, 255, 255));
    ReleaseDC(window, context);
}

TEST_F(SettingsWindowTest, controlsComeInOrderWithTheirTextsAndPlaces)
{
    ASSERT_TRUE(startWithSettings("12.75\r\nVerdana"));
    openSettings();
    // Siblings come in z-order, which is the order of creation.
    std::vector<HWND> children;
    for (HWND child = GetWindow(appState.settingsWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    ASSERT_EQ(children.size(), 7u);
    EXPECT_EQ(children[2], appState.textSizeEdit);
    EXPECT_EQ(children[3], appState.fontFamilyCombo);

    struct Expected {
        const wchar_t* className;
        std::wstring text;
        int id;
        RECT place;
    };
    const Expected expected[] = {
        {L"Static", L"Text size (10-90):", 0, {10, 11, 130, 31}},
        {L"Static", L"Font family:", 0, {10, 47, 95, 67}},
        {L"Edit", L"12", 0, {135, 10, 333, 30}},
        {L"ComboBox", L"Verdana", 0, {135, 45, 335, 0}},  // closed, its height comes from its font
        {L"Static", L"", 0, {10, 350, 360, 405}},
        {L"Button", L"Save", CMD_SAVE, {290, 420, 350, 445}},
        {L"Button", L"Cancel", CMD_CANCEL, {220, 420, 280, 445}},
    };
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(_wcsicmp(classOf(children[i]).c_str(), expected[i].className), 0) << classOf(children[i]);
        if (i != 4) {  // the note is checked below
            EXPECT_EQ(windowText(children[i]), expected[i].text);
        }
        EXPECT_EQ(GetDlgCtrlID(children[i]), expected[i].id);
        EXPECT_TRUE(IsWindowVisible(children[i]));
        RECT place = placeInParent(children[i]);
        if (expected[i].place.bottom == 0)
            place.bottom = 0;
        EXPECT_EQ(place, expected[i].place);
    }
    const std::wstring notePrefix = L"More settings options to come in later versions!\n\nEmail me suggestions: ";
    const std::wstring note = windowText(children[4]);
    ASSERT_EQ(note.compare(0, notePrefix.size(), notePrefix), 0) << note;
    const std::wstring address = note.substr(notePrefix.size());
    EXPECT_TRUE((address.size() > 8 && address.compare(address.size() - 8, 8, L".example") == 0) ||
                address.find(L"@example.") != std::wstring::npos)
        << address;

    EXPECT_NE(GetWindowLongW(children[2], GWL_STYLE) & ES_NUMBER, 0);
    EXPECT_EQ(GetWindowLongW(children[3], GWL_STYLE) & 3, CBS_DROPDOWN);
    for (HWND button : {children[5], children[6]})
        EXPECT_EQ(GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);

    std::vector<std::wstring> entries;
    for (LRESULT i = 0; i < SendMessageW(children[3], CB_GETCOUNT, 0, 0); ++i) {
        std::wstring entry(static_cast<size_t>(SendMessageW(children[3], CB_GETLBTEXTLEN, i, 0)), L'\0');
        SendMessageW(children[3], CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
        entries.push_back(entry);
    }
    EXPECT_EQ(entries, (std::vector<std::wstring>{L"Arial", L"Calibri", L"Courier New", L"Georgia", L"Segoe Script",
                                                  L"Times New Roman"}));
    EXPECT_EQ(SendMessageW(children[3], CB_GETCURSEL, 0, 0), CB_ERR);
}

// Save and the close box store the edits, Cancel does not; each enables the main window again.
TEST_F(SettingsWindowTest, everyWayOfClosingEnablesTheMainWindowAndOnlyCancelDiscards)
{
    ASSERT_TRUE(startProgram(quotesBytes, nullptr));
    struct Closing {
        const char* name;
        UINT command;  // 0: the close box
        const wchar_t* sizeText;
        float sizeAfter;
    };
    const Closing closings[] = {
        {"Save", CMD_SAVE, L"40", 40.0f}, {"Cancel", CMD_CANCEL, L"60", 40.0f}, {"close box", 0, L"50", 50.0f}};
    for (const Closing& closing : closings) {
        SCOPED_TRACE(closing.name);
        openSettings();
        HWND window = appState.settingsWindow;
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(IsWindowEnabled(appState.mainWindow));
        fillFields(closing.sizeText, L"Georgia");
        if (closing.command)
            SendMessageW(window, WM_COMMAND, closing.command, 0);
        else
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        pumpMessages();
        EXPECT_TRUE(IsWindowEnabled(appState.mainWindow));
        // Typing goes on in the box without a click.
        EXPECT_EQ(GetFocus(), appState.typingEdit);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(appState.settingsWindow, nullptr);
        EXPECT_EQ(appState.textSizeEdit, nullptr);
        EXPECT_EQ(appState.fontFamilyCombo, nullptr);
        EXPECT_EQ(appState.textSize, closing.sizeAfter);
        EXPECT_EQ(readWorkFile("settings.txt"), formatTextSize(closing.sizeAfter) + "\r\nGeorgia");
    }
}

TEST_F(SettingsWindowTest, fractionalSizeShowsTruncatedCancelKeepsItSaveStoresTheShownSize)
{
    const std::string stored = "12.75\r\nGeorgia";
    ASSERT_TRUE(startWithSettings(stored));
    HFONT font = appState.editFont;
    IDWriteTextFormat* format = appState.textFormat.Get();
    IDWriteTextLayout* layout = appState.textLayout.Get();
    openSettings();
    EXPECT_EQ(windowText(appState.textSizeEdit), L"12");
    fillFields(L"60", L"Calibri");
    SendMessageW(appState.settingsWindow, WM_COMMAND, CMD_CANCEL, 0);
    pumpMessages();
    EXPECT_EQ(appState.textSize, 12.75f);
    EXPECT_EQ(appState.fontFamily, L"Georgia");
    EXPECT_EQ(readWorkFile("settings.txt"), stored);
    EXPECT_EQ(appState.editFont, font);
    EXPECT_EQ(appState.textFormat.Get(), format);
    EXPECT_EQ(appState.textLayout.Get(), layout);

    saveWith(nullptr, nullptr);
    EXPECT_EQ(appState.textSize, 12.0f);
    EXPECT_EQ(readWorkFile("settings.txt"), std::string("12\r\nGeorgia"));
}

TEST_F(SettingsWindowTest, sizeTextIsClampedOrIgnored)
{
    ASSERT_TRUE(startProgram(quotesBytes, nullptr));
    const std::pair<const wchar_t*, float> sizes[] = {
        {L"7", 10.0f}, {L"95", 90.0f}, {L"0045", 45.0f}, {L"000000000000045", 45.0f}, {L"999999999999999", 90.0f}};
    for (const auto& [text, size] : sizes) {
        SCOPED_TRACE(text);
        saveWith(text, nullptr);
        EXPECT_EQ(appState.textSize, size);
        EXPECT_EQ(readWorkFile("settings.txt"), formatTextSize(size) + "\r\nArial");
    }
    // A size text that is empty or not all digits keeps the size; the family still applies and
    // the file is still written.
    saveWith(L"33", nullptr);
    saveWith(L"", L"Georgia");
    EXPECT_EQ(appState.textSize, 33.0f);
    EXPECT_EQ(readWorkFile("settings.txt"), std::string("33\r\nGeorgia"));
    saveWith(L"4a", L"Calibri");
    EXPECT_EQ(appState.textSize, 33.0f);
    EXPECT_EQ(readWorkFile("settings.txt"), std::string("33\r\nCalibri"));
}

TEST_F(SettingsWindowTest, familyMustBeAnOfferedNameExactly)
{
    ASSERT_TRUE(startProgram(quotesBytes, nullptr));
    for (const wchar_t* rejected : {L"arial", L"Georgia ", L"Verdana", L""}) {
        saveWith(nullptr, rejected);
        EXPECT_EQ(appState.fontFamily, L"Arial");
    }
    saveWith(nullptr, L"Courier New");
    EXPECT_EQ(appState.fontFamily, L"Courier New");
    EXPECT_EQ(readWorkFile("settings.txt"), std::string("20\r\nCourier New"));
    stopProgram();

    // A family from the file that is not offered is shown and kept.
    ASSERT_TRUE(startWithSettings("20\r\nVerdana"));
    openSettings();
    EXPECT_EQ(windowText(appState.fontFamilyCombo), L"Verdana");
    fillFields(L"40", nullptr);
    SendMessageW(appState.settingsWindow, WM_COMMAND, CMD_SAVE, 0);
    pumpMessages();
    EXPECT_EQ(appState.fontFamily, L"Verdana");
    EXPECT_EQ(readWorkFile("settings.txt"), std::string("40\r\nVerdana"));
}

TEST_F(SettingsWindowTest, saveAppliesTheNewFontsAndLayoutAtOnce)
{
    ASSERT_TRUE(startProgram(quotesBytes, nullptr));
    HFONT oldFont = appState.editFont;
    saveWith(L"29", L"Georgia");
    EXPECT_EQ(appState.textFormat->GetFontSize(), 29.0f);
    EXPECT_EQ(formatFamily(), L"Georgia");
    EXPECT_EQ(formatLocale(), L"");
    EXPECT_EQ(layoutFontSize(), 29.0f);

    EXPECT_EQ(fontInBox(), appState.editFont);
    EXPECT_EQ(GetObjectType(oldFont), 0u) << "the replaced typing font was not deleted";
    EXPECT_EQ(fontOf(appState.editFont).lfHeight, 29);
    EXPECT_STREQ(fontOf(appState.editFont).lfFaceName, L"Georgia");

    // Both layout passes ran: the box is 29 × 1.3 = 37.7 high, truncated, and the button has the
    // box's client height.
    EXPECT_EQ(heightInParent(appState.typingEdit), 37);
    EXPECT_EQ(heightInParent(appState.newTextButton), clientRectOf(appState.typingEdit).bottom);

    // The replaced fonts do not pile up. (GetGuiResources would count every GDI object, but
    // Wine's answers 0.)
    std::vector<HFONT> replaced;
    for (int i = 0; i < 6; ++i) {
        replaced.push_back(appState.editFont);
        saveWith(i % 2 ? L"40" : L"20", i % 3 ? L"Georgia" : L"Arial");
    }
    for (HFONT font : replaced)
        EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(GetObjectType(appState.editFont), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(SettingsWindowTest, sizeSavedWhileTheFrameShowsMovesTheFrameWithTheBox)
{
    const std::string sizeForty = "40\r\nArial\r\n";
    ASSERT_TRUE(startProgram("alpha beta gamma\n", &sizeForty));
    typeText(L"alpha bx");
    ASSERT_TRUE(appState.mismatchShown);
    saveWith(L"20", nullptr);
    expectScreenEqualsWholeRepaint("a smaller size saved");
    saveWith(L"60", nullptr);
    expectScreenEqualsWholeRepaint("a larger size saved");
    typeText(L"\beta ");
    expectScreenEqualsWholeRepaint("a word completed after the saves");
}

TEST_F(SettingsWindowTest, saveOnTheResultsScreenRedrawsAtOnceAndTheNextBoxGetsTheFont)
{
    ASSERT_TRUE(startProgram("go\n", nullptr));
    typeText(L"go");
    ASSERT_TRUE(appState.resultsShown);
    HFONT oldFont = appState.editFont;

    saveWith(L"30", L"Calibri");
    EXPECT_EQ(appState.typingEdit, nullptr);
    EXPECT_TRUE(appState.resultsShown);
    EXPECT_EQ(layoutFontSize(), 30.0f);
    EXPECT_EQ(formatFamily(), L"Calibri");

    SetFocus(appState.mainWindow);
    pressKey(VK_ESCAPE);
    ASSERT_NE(appState.typingEdit, nullptr);
    EXPECT_EQ(fontInBox(), appState.editFont);
    EXPECT_EQ(fontOf(fontInBox()).lfHeight, 30);
    EXPECT_EQ(GetObjectType(oldFont), 0u);
    EXPECT_EQ(heightInParent(appState.typingEdit), 39);
}
