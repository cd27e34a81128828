#include "tests/wine/testProgram.h"

#include "app/startup.h"
#include "render/deviceResources.h"
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

// The main window's own pixels in its client area, colour only, with the places of its child
// controls blanked.
std::vector<uint32_t> captureMainWindow()
{
    RECT client = clientRectOf(appState.mainWindow);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC windowDc = GetDC(appState.mainWindow);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memoryDc, bitmap);
    BitBlt(memoryDc, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                                 static_cast<const uint32_t*>(bits) + client.right * client.bottom);
    SelectObject(memoryDc, old);
    DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(appState.mainWindow, windowDc);
    auto blank = [&](RECT place) {
        for (LONG y = std::max<LONG>(place.top, 0); y < std::min(place.bottom, client.bottom); ++y)
            for (LONG x = std::max<LONG>(place.left, 0); x < std::min(place.right, client.right); ++x)
                pixels[static_cast<size_t>(y * client.right + x)] = 0;
    };
    for (HWND child : {appState.typingEdit, appState.newTextButton, appState.resultsLabel, appState.retryButton,
                       appState.anotherTextButton})
        if (child)
            blank(placeInParent(child));
    for (uint32_t& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

}  // namespace

void expectScreenEqualsWholeRepaint(const char* after, BoxBand band)
{
    SCOPED_TRACE(after);
    pumpMessages();
    // Where the outline may lie: the frame's band, as far as the outline's smoothing reaches.
    RECT outlineBand = {};
    const bool outlineShows = band == BoxBand::erasedFrameOutline && !drawThroughWindowDc() && appState.typingEdit;
    if (outlineShows) {
        outlineBand = placeInParent(appState.typingEdit);
        InflateRect(&outlineBand, 5, 5);
    }
    std::vector<uint32_t> shown = captureMainWindow();
    InvalidateRect(appState.mainWindow, nullptr, FALSE);
    UpdateWindow(appState.mainWindow);
    std::vector<uint32_t> whole = captureMainWindow();
    ASSERT_EQ(shown.size(), whole.size());
    const size_t width = static_cast<size_t>(std::max<LONG>(clientRectOf(appState.mainWindow).right, 1));
    size_t differing = 0;
    size_t outlinePixels = 0;
    std::string first;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (shown[i] == whole[i])
            continue;
        const POINT at = {static_cast<LONG>(i % width), static_cast<LONG>(i / width)};
        // The outline is black drawn at a fifth of a pixel's width: grey, never red.
        const uint32_t pixel = shown[i];
        const bool grey = (pixel & 0xFF) == (pixel >> 8 & 0xFF) && (pixel & 0xFF) == (pixel >> 16 & 0xFF);
        if (outlineShows && PtInRect(&outlineBand, at) && grey) {
            ++outlinePixels;
            continue;
        }
        if (differing++ < 5)
            first += " (" + std::to_string(at.x) + "," + std::to_string(at.y) + ") " + std::to_string(shown[i]) + "/" +
                     std::to_string(whole[i]);
    }
    EXPECT_EQ(differing, 0u) << "pixels differ after word " << appState.wordIndex << ", first at" << first;
    if (outlineShows) {
        EXPECT_GT(outlinePixels, 0u) << "the erased frame left no outline on the window render target";
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
