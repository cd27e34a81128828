#include "tests/wine/testProgram.h"

#include "app/startup.h"
#include "render/deviceResources.h"
#include "tests/bitmapTarget.h"
#include "tests/screenComparison.h"
#include "typing/quoteLibrary.h"
#include "typing/typing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

HACCEL testAccelerators = nullptr;
ClockSource programClock = nullptr;

std::wstring testFolderName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "no-test";
    for (char& c : name)
        if (c == '/')
            c = '_';
    return L"window-tests-work\\" + std::wstring(name.begin(), name.end());
}

int64_t readFakeClock()
{
    return fakeClockNanoseconds;
}

}  // namespace

int64_t fakeClockNanoseconds = 0;

void useFakeClock()
{
    clockSource = readFakeClock;
}

bool startProgram(const std::string& quotesBytes, const std::string* settingsBytes, int showCommand)
{
    static wchar_t baseFolder[MAX_PATH] = {};
    if (!baseFolder[0])
        GetCurrentDirectoryW(MAX_PATH, baseFolder);
    SetCurrentDirectoryW(baseFolder);
    CreateDirectoryW(L"window-tests-work", nullptr);
    std::wstring folder = testFolderName();
    CreateDirectoryW(folder.c_str(), nullptr);
    SetCurrentDirectoryW(folder.c_str());
    DeleteFileW(L"settings.txt");
    DeleteFileW(L"quotes.txt");
    writeWorkFile("quotes.txt", quotesBytes);
    if (settingsBytes)
        writeWorkFile("settings.txt", *settingsBytes);
    if (!programClock)
        programClock = clockSource;
    testAccelerators = nullptr;
    // The run that draws as on Windows, through the window's own target (a bitmap stands in).
    if (GetEnvironmentVariableW(L"PACEWORD_TEST_WINDOW_TARGET", nullptr, 0) > 0)
        standBitmapInForWindowTarget();
    bool started = setUpBeforeMessageLoop(GetModuleHandleW(nullptr), showCommand, testAccelerators);
    pumpMessages();
    return started;
}

void stopProgram()
{
    if (appState.mainWindow)
        DestroyWindow(appState.mainWindow);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT)
            DispatchMessageW(&message);
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (appState.windowClassName[0])
        UnregisterClassW(appState.windowClassName, instance);
    UnregisterClassW(SETTINGS_WINDOW_CLASS, instance);
    appState = AppState{};
    initializeStaticState();
    if (programClock)
        clockSource = programClock;
}

void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            continue;
        translateAndDispatch(message, testAccelerators);
    }
}

std::string readWorkFile(const char* name)
{
    std::string bytes;
    if (FILE* file = std::fopen(name, "rb")) {
        char buffer[4096];
        size_t count;
        while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, count);
        std::fclose(file);
    }
    return bytes;
}

void writeWorkFile(const char* name, const std::string& bytes)
{
    FILE* file = std::fopen(name, "wb");
    ASSERT_NE(file, nullptr) << name;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool workFileExists(const char* name)
{
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void PrintTo(const RECT& rect, std::ostream* out)
{
    *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}

RECT clientRectOf(HWND window)
{
    RECT rect = {};
    GetClientRect(window, &rect);
    return rect;
}

RECT placeInParent(HWND child)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LONG heightInParent(HWND child)
{
    const RECT place = placeInParent(child);
    return place.bottom - place.top;
}

void pressKey(UINT virtualKey)
{
    HWND target = GetFocus();
    UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM firstPress = 1 | static_cast<LPARAM>(scanCode) << 16;
    const LPARAM release = LPARAM(1) << 30 | LPARAM(1) << 31;
    PostMessageW(target, WM_KEYDOWN, virtualKey, firstPress);
    PostMessageW(target, WM_KEYUP, virtualKey, firstPress | release);
    pumpMessages();
}

void typeText(const std::wstring& text)
{
    for (wchar_t c : text) {
        PostMessageW(GetFocus(), WM_CHAR, c, 1);
        pumpMessages();
    }
}

namespace {

// The quote the attempt checks, laid out afresh in the program's layout box (client size less
// the margin) with the underline where the attempt's progress puts it: a reference made from the
// source of truth, not from the program's layout or the underline state kept with it, so that a
// layout left over from another quote or size shows.
ComPtr<IDWriteTextLayout> referenceLayout()
{
    std::wstring joined;
    for (const std::wstring& word : appState.words)
        joined += word;
    EXPECT_EQ(joined, appState.currentQuote) << "the words do not give the quote back";
    const RECT client = clientRectOf(appState.mainWindow);
    const std::wstring drawn = drawnQuoteText(appState.currentQuote);
    ComPtr<IDWriteTextLayout> layout;
    const LayoutBox box = quoteLayoutBox(client);
    if (appState.words.empty() || FAILED(appState.dwriteFactory->CreateTextLayout(
                                      drawn.c_str(), static_cast<UINT32>(drawn.size()), appState.textFormat.Get(),
                                      box.width, box.height, layout.GetAddressOf())))
        return nullptr;
    // On the results screen the last word stays underlined.
    const size_t current = std::min<size_t>(static_cast<size_t>(appState.wordIndex), appState.words.size() - 1);
    size_t start = 0;
    for (size_t i = 0; i < current; ++i)
        start += appState.words[i].size();
    const int32_t length = underlineLengthFor(appState.words, current);
    // A pass whose range differs from the layout's would move the reference's underline.
    EXPECT_EQ(appState.typedCount, static_cast<int32_t>(start));
    EXPECT_EQ(appState.underlineLength, length);
    layout->SetUnderline(TRUE, {static_cast<UINT32>(start), static_cast<UINT32>(length)});
    return layout;
}

}  // namespace

void expectScreenEqualsWholeRepaint(const char* after, BoxBand band)
{
    SCOPED_TRACE(after);
    pumpMessages();
    // Where the outline may lie: the frame's band, as far as the outline's smoothing reaches.
    RECT outlineBand = {};
    const bool outlineShows = band == BoxBand::erasedFrameOutline && !drawsThroughWindowDc() && appState.typingEdit;
    if (outlineShows) {
        outlineBand = placeInParent(appState.typingEdit);
        InflateRect(&outlineBand, 5, 5);
    }
    const ClientPixels shown = readClientPixels(appState.mainWindow, false);
    // The program's whole repaint, of the reference layout in place of its own.
    ComPtr<IDWriteTextLayout> programLayout = appState.textLayout;
    if (programLayout)
        appState.textLayout = referenceLayout();
    InvalidateRect(appState.mainWindow, nullptr, FALSE);
    UpdateWindow(appState.mainWindow);
    const ClientPixels whole = readClientPixels(appState.mainWindow, false);
    appState.textLayout = programLayout;
    ASSERT_EQ(shown.pixels.size(), whole.pixels.size());
    const PixelDifference difference = comparePixels(shown, whole, outlineBand);
    EXPECT_EQ(difference.count, 0u) << "pixels differ after word " << appState.wordIndex << ", first at"
                                    << difference.first;
    // Wine's Direct2D draws a 0.2-px stroke as nothing, on every target.
    if (outlineShows && !runningUnderWine()) {
        EXPECT_GT(difference.outlinePixels, 0u) << "the erased frame left no outline on the window render target";
    }
}

MessageBoxWatcher::MessageBoxWatcher(const std::wstring& title)
    : watcher([this, title]() {
          HWND answered = nullptr;
          for (; !stopping; std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
              // A box is found as soon as it is made, but its text is set only before it is shown.
              HWND box = FindWindowW(L"#32770", title.c_str());
              if (!box || box == answered || !IsWindowVisible(box))
                  continue;
              owner = GetWindow(box, GW_OWNER);
              // The message text is the static control with id 0xFFFF.
              wchar_t boxText[2048] = {};
              GetDlgItemTextW(box, 0xFFFF, boxText, 2048);
              text = boxText;
              seen = true;
              answered = box;
              PostMessageW(box, WM_COMMAND, IDOK, 0);
          }
      })
{
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    finish();
}

void MessageBoxWatcher::finish()
{
    stopping = true;
    if (watcher.joinable())
        watcher.join();
}
