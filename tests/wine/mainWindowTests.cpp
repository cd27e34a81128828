// The main window as the user meets it: resources, start-up, layout, menu, About box and the
// drawn quote.
#include "tests/wine/testProgram.h"

#include "app/startup.h"
#include "render/deviceResources.h"
#include "render/quoteRendering.h"
#include "tests/screenComparison.h"

#include <winver.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const someQuotes = "Typing fast is a skill\nslow and steady wins\none two three four five six\n";
const std::string sizeTwentyOne = "21\r\nArial\r\n";

std::wstring resourceString(UINT id)
{
    wchar_t text[100] = {};
    LoadStringW(GetModuleHandleW(nullptr), id, text, 100);
    return text;
}

// Both typing controls where the layout puts them for the current client size and text size.
void expectTypingControlsInPlace(const char* where)
{
    SCOPED_TRACE(where);
    RECT client = clientRectOf(appState.mainWindow);
    double editHeight = static_cast<double>(appState.textSize) * 1.3;
    LONG editTop = static_cast<LONG>(client.bottom - editHeight - 20);
    EXPECT_EQ(placeInParent(appState.typingEdit),
              (RECT{20, editTop, client.right - 130, editTop + static_cast<LONG>(editHeight)}));
    // The button takes the edit's client height, which differs from its window height on Windows.
    LONG e = clientRectOf(appState.typingEdit).bottom;
    EXPECT_EQ(placeInParent(appState.newTextButton),
              (RECT{client.right - 110, client.bottom - 20 - e, client.right - 20, client.bottom - 20}));
}

void resizeMainWindow(int width, int height)
{
    SetWindowPos(appState.mainWindow, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    pumpMessages();
}

// The main window's titles while it is visible, read at every message it gets.
std::set<std::wstring> visibleTitles;

LRESULT CALLBACK recordVisibleTitle(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    wchar_t className[32] = {};
    if (code == HC_ACTION && GetClassNameW(message->hwnd, className, 32) && std::wcscmp(className, L"VELMORA1") == 0 &&
        IsWindowVisible(message->hwnd)) {
        // InternalGetWindowText sends no message, so the hook does not run again inside itself.
        wchar_t title[200] = {};
        InternalGetWindowText(message->hwnd, title, 200);
        visibleTitles.insert(title);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int lostDeviceReports = 0;
ID2D1RenderTarget* lostTarget = nullptr;

// Reports a lost device once, as after a driver reset (Wine's target never does so by itself);
// the next pass ends as usual.
HRESULT endDrawReportingLostDevice(ID2D1RenderTarget* target)
{
    endDrawing = endDrawOnTarget;
    target->EndDraw();
    ++lostDeviceReports;
    lostTarget = target;
    return D2DERR_RECREATE_TARGET;
}

}  // namespace

class MainWindowTest : public ProgramTest {};

TEST_F(MainWindowTest, resourcesGiveClassTitleMenuAcceleratorsIconsAndManifest)
{
    visibleTitles.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, recordVisibleTitle, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(startProgram(someQuotes));
    UnhookWindowsHookEx(hook);
    // The created title is replaced before the window is first shown.
    EXPECT_EQ(visibleTitles, std::set<std::wstring>{L"Paceword"});
    EXPECT_EQ(windowText(appState.mainWindow), L"Paceword");

    wchar_t className[32] = {};
    GetClassNameW(appState.mainWindow, className, 32);
    EXPECT_STREQ(className, L"VELMORA1");
    EXPECT_EQ(resourceString(IDS_APP_TITLE), L"Velmora1");
    EXPECT_EQ(resourceString(IDS_WINDOW_CLASS), L"VELMORA1");
    EXPECT_NE(GetClassLongPtrW(appState.mainWindow, GCLP_HICON), 0u);
    EXPECT_NE(GetClassLongPtrW(appState.mainWindow, GCLP_HICONSM), 0u);

    HMENU menu = GetMenu(appState.mainWindow);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    const std::pair<UINT, std::wstring> items[] = {{CMD_ABOUT, L"&About"}, {CMD_SETTINGS, L"Settings"}};
    for (int position = 0; position < 2; ++position) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(menu, position), items[position].first);
        EXPECT_EQ(text, items[position].second);
        EXPECT_EQ(GetSubMenu(menu, position), nullptr);
    }

    HMODULE module = GetModuleHandleW(nullptr);
    HACCEL accelerators = LoadAcceleratorsW(module, MAKEINTRESOURCEW(IDC_PACEWORD));
    ASSERT_NE(accelerators, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableW(accelerators, entries, 4), 2);
    std::set<WORD> keys;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(entries[i].cmd, CMD_ABOUT);
        EXPECT_EQ(entries[i].fVirt & (FALT | FVIRTKEY | FCONTROL | FSHIFT), FALT);  // characters, with Alt
        keys.insert(entries[i].key);
    }
    EXPECT_EQ(keys, (std::set<WORD>{'?', '/'}));

    for (int icon : {IDI_PACEWORD, IDI_SMALL}) {
        SCOPED_TRACE(icon);
        HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(icon), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr);
        // The group directory: three words, then 14-byte entries starting with the width (0 = 256).
        const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
        WORD count = *reinterpret_cast<const WORD*>(directory + 4);
        std::set<int> widths;
        for (WORD i = 0; i < count; ++i)
            widths.insert(directory[6 + 14 * i] ? directory[6 + 14 * i] : 256);
        EXPECT_EQ(widths, (std::set<int>{16, 256}));
        for (int size : {16, 256}) {
            HICON image = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(icon), IMAGE_ICON, size, size, 0));
            EXPECT_NE(image, nullptr) << size;
            DestroyIcon(image);
        }
    }

    HRSRC manifestResource = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifestResource, nullptr);
    std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, manifestResource))),
                         SizeofResource(module, manifestResource));
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
}

TEST_F(MainWindowTest, versionInformationNamesTheProgramItsVersionAndItsMakers)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    ASSERT_NE(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(0, 1)));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(0, 1)));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);

    // Explorer looks the strings up under the language and code page that Translation names.
    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    wchar_t prefix[64] = {};
    swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT textLength = 0;
        std::wstring key = std::wstring(prefix) + name;
        return VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &textLength) && text
                   ? std::wstring(text)
                   : std::wstring(L"(missing)");
    };
    EXPECT_EQ(value(L"ProductName"), L"Paceword");
    EXPECT_EQ(value(L"FileVersion"), L"1.0.0.0");
    EXPECT_EQ(value(L"ProductVersion"), L"1.0.0.0");
    EXPECT_NE(value(L"FileDescription").find(L"typing"), std::wstring::npos);
    EXPECT_NE(value(L"CompanyName").find(L"the Paceword team"), std::wstring::npos);
    EXPECT_NE(value(L"LegalCopyright").find(L"the Paceword team"), std::wstring::npos);
}

TEST_F(MainWindowTest, startsWithFocusedBoxItsFontAndTheQuoteLaidOutWithFirstWordUnderlined)
{
    ASSERT_TRUE(startProgram(someQuotes, &sizeTwentyOne));
    EXPECT_EQ(windowText(appState.mainWindow), L"Paceword");
    EXPECT_EQ(GetFocus(), appState.typingEdit);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(appState.typingEdit, WM_GETFONT, 0, 0)), appState.editFont);
    LOGFONTW font = {};
    GetObjectW(appState.editFont, sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 21);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_FALSE(appState.timerStarted);

    // The layout holds the quote picked at start-up, not the first line of the file.
    ASSERT_NE(appState.textLayout.Get(), nullptr);
    const std::wstring& quote = appState.currentQuote;
    UINT32 clusterCount = 0;
    appState.textLayout->GetClusterMetrics(nullptr, 0, &clusterCount);
    std::vector<DWRITE_CLUSTER_METRICS> clusters(clusterCount);
    appState.textLayout->GetClusterMetrics(clusters.data(), clusterCount, &clusterCount);
    UINT32 length = 0;
    for (const DWRITE_CLUSTER_METRICS& cluster : clusters)
        length += cluster.length;
    EXPECT_EQ(length, quote.size());
    RECT client = clientRectOf(appState.mainWindow);
    EXPECT_EQ(appState.textLayout->GetMaxWidth(), static_cast<float>(client.right - 40));
    EXPECT_EQ(appState.textLayout->GetMaxHeight(), static_cast<float>(client.bottom - 40));
    FLOAT fontSize = 0;
    appState.textLayout->GetFontSize(0, &fontSize, nullptr);
    EXPECT_EQ(fontSize, 21.0f);

    const UINT32 firstWordLength = static_cast<UINT32>(quote.find(L' '));
    ASSERT_EQ(appState.underlineLength, static_cast<int32_t>(firstWordLength));
    for (UINT32 position = 0; position < quote.size(); ++position) {
        BOOL underlined = FALSE;
        appState.textLayout->GetUnderline(position, &underlined);
        EXPECT_EQ(underlined != FALSE, position < firstWordLength) << "position " << position;
    }
}

TEST_F(MainWindowTest, chineseQuoteIsDrawnWithItsGlyphs)
{
    // Dark pixels of the drawn quote. A character the fonts lack is drawn
    // as the same empty box whatever it is: one stroke and a dense character then ink alike.
    const std::string size = "40\r\nArial\r\n";
    const auto inkOf = [&size](const std::string& quote) {
        EXPECT_TRUE(startProgram(quote + "\n", &size));
        UpdateWindow(appState.mainWindow);
        const ClientPixels read = readClientPixels(appState.mainWindow, false);
        stopProgram();
        // Above the typing box, where the quote is drawn.
        const auto end = read.pixels.begin() + static_cast<std::ptrdiff_t>(read.box.top) * read.client.right;
        return std::count_if(read.pixels.begin(), end, [](uint32_t pixel) {
            return (pixel & 0xFF) + (pixel >> 8 & 0xFF) + (pixel >> 16 & 0xFF) < 3 * 128;
        });
    };
    const auto oneStroke = inkOf("\xE4\xB8\x80\xE4\xB8\x80\xE4\xB8\x80\xE4\xB8\x80");  // 一一一一
    const auto dense = inkOf("\xE9\xBE\x8D\xE9\xBE\x8D\xE9\xBE\x8D\xE9\xBE\x8D");      // 龍龍龍龍
    EXPECT_GT(oneStroke, 0);
    EXPECT_GT(dense, 3 * oneStroke) << "one stroke " << oneStroke << " dark pixels, a dense character " << dense;
}

TEST_F(MainWindowTest, typingControlsFollowTheClientSizeAlsoWhenTheBoxHeightIsNotWhole)
{
    for (const std::string* settings : {static_cast<const std::string*>(nullptr), &sizeTwentyOne}) {
        SCOPED_TRACE(settings ? "text size 21" : "text size 20");
        ASSERT_TRUE(startProgram(someQuotes, settings));
        expectTypingControlsInPlace("after start-up");
        const SIZE sizes[] = {{640, 480}, {1000, 700}, {330, 260}, {900, 300}};
        for (SIZE size : sizes) {
            resizeMainWindow(size.cx, size.cy);
            expectTypingControlsInPlace((std::to_string(size.cx) + "x" + std::to_string(size.cy)).c_str());
        }
        stopProgram();
    }
    // 1.3 x 21 = 27.3: the box is 27 high and sits one pixel above the button's bottom.
    ASSERT_TRUE(startProgram(someQuotes, &sizeTwentyOne));
    RECT edit = placeInParent(appState.typingEdit);
    EXPECT_EQ(edit.bottom - edit.top, 27);
    EXPECT_EQ(edit.bottom, clientRectOf(appState.mainWindow).bottom - 21);
}

TEST_F(MainWindowTest, startedMaximisedTheControlsSitAtTheBottom)
{
    ASSERT_TRUE(startProgram(someQuotes, nullptr, SW_SHOWMAXIMIZED));
    EXPECT_TRUE(IsZoomed(appState.mainWindow));
    expectTypingControlsInPlace("maximised");
}

TEST_F(MainWindowTest, windowKeepsItsMinimumSize)
{
    ASSERT_TRUE(startProgram(someQuotes));
    // Only the minimum tracking size changes.
    MINMAXINFO info = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}};
    MINMAXINFO expected = {{1, 2}, {3, 4}, {5, 6}, {200, 150}, {9, 10}};
    EXPECT_EQ(SendMessageW(appState.mainWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(std::memcmp(&info, &expected, sizeof info), 0)
        << info.ptMinTrackSize.x << "x" << info.ptMinTrackSize.y << ", max track " << info.ptMaxTrackSize.x;

    // Default processing of a move clamps to the minimum tracking size.
    resizeMainWindow(50, 40);
    RECT window = {};
    GetWindowRect(appState.mainWindow, &window);
    EXPECT_EQ(window.right - window.left, 200);
    EXPECT_EQ(window.bottom - window.top, 150);
}

TEST_F(MainWindowTest, sizeRequestLaysOutFromTheCurrentClientRectangleAndSkipsMissingControls)
{
    ASSERT_TRUE(startProgram(someQuotes));
    HWND main = appState.mainWindow;
    // The edit keeps its height: the button takes the height the edit had before the pass.
    const int editHeight = heightInParent(appState.typingEdit);
    MoveWindow(appState.typingEdit, 1, 1, 10, editHeight, FALSE);
    MoveWindow(appState.newTextButton, 2, 2, 10, 10, FALSE);
    appState.clientRect = {0, 0, 1, 1};
    EXPECT_EQ(SendMessageW(main, WM_SIZE, 0, 0), 0);
    expectTypingControlsInPlace("size request with parameters 0");
    EXPECT_EQ(appState.textLayout->GetMaxWidth(), static_cast<float>(clientRectOf(main).right - 40));

    // As on the results screen: no typing controls, the three results controls present.
    HWND edit = appState.typingEdit;
    HWND button = appState.newTextButton;
    appState.typingEdit = nullptr;
    appState.newTextButton = nullptr;
    MoveWindow(edit, 1, 1, 10, 10, FALSE);
    MoveWindow(button, 2, 2, 10, 10, FALSE);
    for (HWND* control : {&appState.resultsLabel, &appState.anotherTextButton, &appState.retryButton})
        *control = CreateWindowExW(0, L"Button", L"", WS_CHILD, 0, 0, 5, 5, main, nullptr, nullptr, nullptr);
    resizeMainWindow(700, 500);
    RECT client = clientRectOf(main);
    EXPECT_EQ(placeInParent(appState.resultsLabel), (RECT{20, client.bottom - 100, 240, client.bottom + 100}));
    EXPECT_EQ(placeInParent(appState.anotherTextButton),
              (RECT{client.right - 185, client.bottom - 55, client.right - 20, client.bottom - 20}));
    EXPECT_EQ(placeInParent(appState.retryButton),
              (RECT{client.right - 185, client.bottom - 105, client.right - 20, client.bottom - 70}));
    EXPECT_EQ(placeInParent(edit), (RECT{1, 1, 11, 11}));
    EXPECT_EQ(placeInParent(button), (RECT{2, 2, 12, 12}));

    appState.typingEdit = edit;
    appState.newTextButton = button;
    for (HWND* control : {&appState.resultsLabel, &appState.anotherTextButton, &appState.retryButton}) {
        DestroyWindow(*control);
        *control = nullptr;
    }
}

TEST_F(MainWindowTest, staticControlsArePaintedOnWhite)
{
    ASSERT_TRUE(startProgram(someQuotes));
    HWND label =
        CreateWindowExW(0, L"Static", L"x", WS_CHILD, 0, 0, 50, 20, appState.mainWindow, nullptr, nullptr, nullptr);
    HDC dc = GetDC(label);
    SetBkColor(dc, RGB(1, 2, 3));
    SetTextColor(dc, RGB(4, 5, 6));
    LRESULT brush = SendMessageW(appState.mainWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), appState.backgroundBrush);
    EXPECT_NE(appState.backgroundBrush, nullptr);
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    EXPECT_EQ(GetTextColor(dc), RGB(4, 5, 6));
    ReleaseDC(label, dc);
    DestroyWindow(label);
}

TEST_F(MainWindowTest, aboutBoxOpensFromTheMenuCommandAndFromAltQuestionMarkOnTheMainWindowOnly)
{
    ASSERT_TRUE(startProgram(someQuotes));
    MessageBoxWatcher about(L"About Paceword");
    EXPECT_EQ(SendMessageW(appState.mainWindow, WM_COMMAND, CMD_ABOUT, 0), 0);
    about.finish();
    const std::wstring& text = about.text;
    EXPECT_EQ(text.rfind(L"Paceword Version 1.0\n\n", 0), 0u) << text;
    EXPECT_NE(text.find(L".example"), std::wstring::npos);
    EXPECT_TRUE(IsWindowEnabled(appState.mainWindow));
    // Typing goes on in the box after the box is closed.
    EXPECT_EQ(GetFocus(), appState.typingEdit);

    // Alt with a character arrives as WM_SYSCHAR while Alt is held; Wine matches the accelerator
    // by the held Alt of the thread's key state, so the key state says so too.
    auto pressAltWith = [](wchar_t character) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_MENU] = 0x80;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), WM_SYSCHAR, character, 1 | (1 << 29));
        pumpMessages();
        keys[VK_MENU] = 0;
        SetKeyboardState(keys);
    };
    for (wchar_t character : {L'?', L'/'}) {
        SetFocus(appState.typingEdit);
        MessageBoxWatcher inTheBox(L"About Paceword");
        pressAltWith(character);
        inTheBox.finish();
        EXPECT_FALSE(inTheBox.seen) << "typing box focused, Alt+" << char(character);

        SetFocus(appState.mainWindow);
        MessageBoxWatcher onTheWindow(L"About Paceword");
        pressAltWith(character);
        onTheWindow.finish();
        EXPECT_TRUE(onTheWindow.seen) << "main window focused, Alt+" << char(character);
        EXPECT_EQ(onTheWindow.owner, appState.mainWindow);
    }
}

TEST_F(MainWindowTest, changeNotificationFromAnotherControlIsNotTyping)
{
    ASSERT_TRUE(startProgram(someQuotes));
    HWND other =
        CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 50, 20, appState.mainWindow, nullptr, nullptr, nullptr);
    SendMessageW(appState.mainWindow, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(other));
    SendMessageW(appState.mainWindow, WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), 0);
    EXPECT_FALSE(appState.timerStarted);
    EXPECT_EQ(windowText(appState.mainWindow), L"Paceword");
    DestroyWindow(other);
    typeText(L"T");
    EXPECT_TRUE(appState.timerStarted);
}

TEST_F(MainWindowTest, minimiseAndRestoreKeepTheWindowWhole)
{
    ASSERT_TRUE(startProgram(someQuotes));
    ShowWindow(appState.mainWindow, SW_MINIMIZE);
    pumpMessages();
    EXPECT_TRUE(IsIconic(appState.mainWindow));
    ASSERT_NE(appState.textLayout.Get(), nullptr);
    paintQuote();  // as a finished word would, while minimised
    ShowWindow(appState.mainWindow, SW_RESTORE);
    pumpMessages();
    EXPECT_FALSE(IsIconic(appState.mainWindow));
    expectTypingControlsInPlace("restored");
    ASSERT_NE(appState.textLayout.Get(), nullptr);
    EXPECT_EQ(appState.textLayout->GetMaxWidth(), static_cast<float>(clientRectOf(appState.mainWindow).right - 40));
    EXPECT_NE(appState.renderTarget.Get(), nullptr);
}

TEST_F(MainWindowTest, lostDeviceGivesANewRenderTargetAndBrushes)
{
    ASSERT_TRUE(startProgram(someQuotes));
    discardDeviceResources();
    paintQuote();
    EXPECT_NE(appState.renderTarget.Get(), nullptr);
    EXPECT_NE(appState.blackBrush.Get(), nullptr);
    EXPECT_NE(appState.redBrush.Get(), nullptr);
    EXPECT_NE(appState.whiteBrush.Get(), nullptr);

    lostDeviceReports = 0;
    // The lost target stays alive here, so the new one cannot be made at its address.
    ComPtr<ID2D1RenderTarget> lost = appState.renderTarget;
    endDrawing = endDrawReportingLostDevice;
    ValidateRect(appState.mainWindow, nullptr);
    paintQuote();
    EXPECT_EQ(lostDeviceReports, 1);
    EXPECT_EQ(lostTarget, lost.Get());
    ASSERT_NE(appState.renderTarget.Get(), nullptr);
    EXPECT_NE(appState.renderTarget.Get(), lost.Get());
    EXPECT_NE(appState.blackBrush.Get(), nullptr);
    EXPECT_NE(appState.whiteBrush.Get(), nullptr);
    EXPECT_NE(appState.redBrush.Get(), nullptr);
    // The window is repainted with the new target: a window target of the client size, or one
    // bound to the part of the client area that holds the quote.
    EXPECT_TRUE(GetUpdateRect(appState.mainWindow, nullptr, FALSE));
    pumpMessages();
    D2D1_SIZE_U size = appState.renderTarget->GetPixelSize();
    RECT client = clientRectOf(appState.mainWindow);
    EXPECT_GT(size.width * size.height, 0u);
    EXPECT_LE(size.width, static_cast<UINT32>(client.right));
    EXPECT_LE(size.height, static_cast<UINT32>(client.bottom));
}

// The window render target is what Windows gets; here it is made on purpose. Nothing is moved
// or painted with it: under Wine its OpenGL window would hide the controls.
TEST_F(MainWindowTest, windowRenderTargetIsMadeAtTheClientSizeAndResized)
{
    ASSERT_TRUE(startProgram(someQuotes));
    drawsThroughWindowDc = []() { return false; };
    discardDeviceResources();
    bool made = createDeviceResources();
    drawsThroughWindowDc = runningUnderWine;
    ASSERT_TRUE(made);
    ComPtr<ID2D1DCRenderTarget> dcTarget;
    EXPECT_FALSE(SUCCEEDED(appState.renderTarget.As(&dcTarget)));
    RECT client = clientRectOf(appState.mainWindow);
    D2D1_SIZE_U size = appState.renderTarget->GetPixelSize();
    EXPECT_EQ(size.width, static_cast<UINT32>(client.right));
    EXPECT_EQ(size.height, static_cast<UINT32>(client.bottom));

    appState.clientRect = {0, 0, 300, 200};
    resizeRenderTarget();
    size = appState.renderTarget->GetPixelSize();
    EXPECT_EQ(size.width, 300u);
    EXPECT_EQ(size.height, 200u);
    // Minimised: the empty client area leaves the target as it was.
    appState.clientRect = {0, 0, 0, 0};
    resizeRenderTarget();
    EXPECT_EQ(appState.renderTarget->GetPixelSize().width, 300u);
    discardDeviceResources();
}

// No quote to type: the program says where it looked and ends before drawing anything.
class NoQuotesTest : public ProgramTest {
  protected:
    void expectRefusedStart(const std::function<bool()>& start)
    {
        MessageBoxWatcher message(L"Paceword");
        visibleTitles.clear();
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, recordVisibleTitle, nullptr, GetCurrentThreadId());
        EXPECT_FALSE(start());
        UnhookWindowsHookEx(hook);
        EXPECT_TRUE(visibleTitles.empty()) << "the main window was shown";
        message.finish();
        const std::wstring& text = message.text;
        wchar_t folder[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, folder);
        EXPECT_NE(text.find(L"quotes.txt"), std::wstring::npos) << text;
        EXPECT_NE(text.find(folder), std::wstring::npos) << text;
        EXPECT_EQ(appState.mainWindow, nullptr);
        EXPECT_EQ(FindWindowW(L"VELMORA1", nullptr), nullptr);
    }
};

TEST_F(NoQuotesTest, emptyFile)
{
    expectRefusedStart([] { return startProgram(""); });
}

TEST_F(NoQuotesTest, onlyEmptyLines)
{
    expectRefusedStart([] { return startProgram("\n\r\n\n"); });
}

TEST_F(NoQuotesTest, onlyAnOverLongLine)
{
    expectRefusedStart([] { return startProgram(std::string(65537, 'a') + "\n"); });
}

TEST_F(NoQuotesTest, missingFile)
{
    // The fixture always writes quotes.txt: start once to get the folder, then remove the file.
    ASSERT_TRUE(startProgram(someQuotes));
    stopProgram();
    ASSERT_TRUE(DeleteFileW(L"quotes.txt"));
    expectRefusedStart([] {
        HACCEL accelerators = nullptr;
        bool started = setUpBeforeMessageLoop(GetModuleHandleW(nullptr), SW_SHOWNORMAL, accelerators);
        pumpMessages();
        return started;
    });
}

TEST_F(MainWindowTest, partialPassesLeaveWhatAWholeRepaintDraws)
{
    // Long enough to wrap, so that a completed word and the next one sit on different lines.
    std::string quote = "Typing fast is a skill that grows with calm practice";
    for (int i = 0; i < 6; ++i)
        quote += " and steady hands that find each key";
    ASSERT_TRUE(startProgram(quote + "\n"));
    UpdateWindow(appState.mainWindow);
    typeText(L"Ty");
    typeText(L"x");
    expectScreenEqualsWholeRepaint("the frame shows");
    typeText(L"\b");
    expectScreenEqualsWholeRepaint("the frame is erased (a faint outline stays on a window target)",
                                   BoxBand::erasedFrameOutline);
    typeText(L"ping ");
    expectScreenEqualsWholeRepaint("a word completed with the hairline showing");
    typeText(L"fas ");
    pressKey(VK_LEFT);
    typeText(L"t");
    expectScreenEqualsWholeRepaint("a word completed while the frame shows");
    // On to the end of the first line and over it.
    while (appState.wordIndex < 24) {
        typeText(appState.words[appState.wordIndex]);
        expectScreenEqualsWholeRepaint("a word completed");
    }
    // A paint message for a part crossing the quote and the frame's band, with the text wrong.
    typeText(L"x");
    const RECT client = clientRectOf(appState.mainWindow);
    const RECT part = {30, 25, client.right / 2, client.bottom - 10};
    InvalidateRect(appState.mainWindow, &part, FALSE);
    UpdateWindow(appState.mainWindow);
    expectScreenEqualsWholeRepaint("a part repainted while the text is wrong");
}

TEST_F(MainWindowTest, completedWordsLeaveWhatAWholeRepaintDrawsInEveryFamilyAndSize)
{
    // A completed word redraws only from its line's underline down: descenders, round bottoms,
    // punctuation and typographic quotes, in each family the settings offer, small and large.
    for (const char* family : {"Arial", "Calibri", "Courier New", "Georgia", "Segoe Script", "Times New Roman"})
        for (const char* size : {"10", "33", "90"}) {
            SCOPED_TRACE(std::string(family) + " " + size);
            const std::string settings = std::string(size) + "\r\n" + family;
            ASSERT_TRUE(startProgram("jumpy, \xE2\x80\x9Cgray\xE2\x80\x9D quiz; boxes go! Qe\n", &settings));
            while (!appState.resultsShown) {
                typeText(appState.words[appState.wordIndex]);
                expectScreenEqualsWholeRepaint("a word completed");
            }
            stopProgram();
        }
}

TEST_F(MainWindowTest, partialPaintsThatCutGlyphsAndRightToLeftWordsLeaveWhatAWholeRepaintDraws)
{
    // Paint messages for rectangles whose edges cut through glyphs, as a window closing over the
    // quote sends them.
    ASSERT_TRUE(startProgram("Typing fast is a skill that grows with calm practice and steady hands\n"));
    for (RECT part : {RECT{37, 23, 211, 61}, RECT{21, 31, 90, 44}, RECT{150, 47, 400, 90}, RECT{66, 20, 67, 70}}) {
        InvalidateRect(appState.mainWindow, &part, FALSE);
        UpdateWindow(appState.mainWindow);
        expectScreenEqualsWholeRepaint("a part repainted");
    }
    stopProgram();

    // Right-to-left words are drawn in the reverse of their typing order.
    ASSERT_TRUE(
        startProgram("go \xD7\x90\xD7\x91 \xD7\x92\xD7\x93\xD7\x94 \xD7\x95\xD7\x96\xD7\x97\xD7\x98\xD7\x99 end\n"));
    while (!appState.resultsShown) {
        typeText(appState.words[appState.wordIndex]);
        expectScreenEqualsWholeRepaint("a word completed");
    }
}

TEST_F(MainWindowTest, keysGoToTheBoxAgainAfterMinimiseRestoreAndReactivation)
{
    ASSERT_TRUE(startProgram(someQuotes));
    typeText(L"T");
    SendMessageW(appState.mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pumpMessages();
    SendMessageW(appState.mainWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
    pumpMessages();
    EXPECT_EQ(GetFocus(), appState.typingEdit) << "after minimise and restore";
    // A new text while minimised (Wine leaves the focus in the box): the box noted then is gone.
    SendMessageW(appState.mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pumpMessages();
    pressKey(VK_ESCAPE);
    SendMessageW(appState.mainWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
    pumpMessages();
    EXPECT_EQ(GetFocus(), appState.typingEdit) << "after a new text while minimised";
    // A retry from the results screen while minimised: the main window had the focus then.
    typeText(appState.currentQuote);
    ASSERT_TRUE(appState.resultsShown);
    SendMessageW(appState.mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pumpMessages();
    PostMessageW(appState.mainWindow, WM_KEYDOWN, 'R', 1);
    pumpMessages();
    SendMessageW(appState.mainWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
    pumpMessages();
    EXPECT_EQ(GetFocus(), appState.typingEdit) << "after a retry while minimised";
    typeText(L"T");

    HWND other = CreateWindowExW(0, L"Static", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    pumpMessages();
    SetActiveWindow(appState.mainWindow);
    pumpMessages();
    EXPECT_EQ(GetFocus(), appState.typingEdit) << "after another window was active";
    DestroyWindow(other);
    typeText(L"y");
    EXPECT_EQ(windowText(appState.typingEdit), L"Ty");
}
