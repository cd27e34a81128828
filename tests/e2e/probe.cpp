// Looks at and drives the running Paceword.exe from another process, as a user or an
// accessibility tool would: finds its windows, reads their texts through WM_GETTEXT, opens and
// saves the settings window, answers a message box. The end-to-end scripts run it under
// the same wineserver as the program.
// Usage: probe COMMAND [ARGUMENTS] ... ; one line of output per fact, "error ..." and exit code 1
// when something did not happen within 60 s.
//   wait                  waits up to 60 s for the main window or a message box
//   state                 answers, title, iconic, client size, the focused window's class and
//                         whether the main window is active, visible children, other windows
//   settings-read         opens the settings window, prints "settings SIZE<TAB>FAMILY", cancels
//   settings-save S F     opens it, types S and F, presses Save
//   settings-close S F    the same, but closes it by its close box
//   dismiss               prints "message TEXT" of the message box and presses OK
//   paste TEXT            puts TEXT on the clipboard (the script then presses Ctrl+V)
//   repaint               compares the main window's client area on the screen before and after a
//                         whole repaint asked for as the system asks: "repaint same" or
//                         "repaint differs COUNT within L,T,R,B client ... box ..."; the child controls
//                         are left out (and all from 5 pixels above the box's top down when
//                         PACEWORD_COMPARE_ABOVE_BOX is set)
//   invalidate X Y W H    asks the main window to paint that part of its client area, now
//   click TEXT            clicks the main window's button whose text starts with TEXT
//   minimize | maximize | restore | close
#include "resources/resource.h"
#include "tests/e2e/programProcess.h"

#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

DWORD programProcess = 0;

std::string utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 3 + 1, '\0');
    int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                                     static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

std::wstring wide(const char* text)
{
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, result.data(), length);
    result.resize(static_cast<size_t>(length > 0 ? length - 1 : 0));
    return result;
}

// One line per fact; line feeds inside a text are shown as \n so a line stays one fact.
void say(const std::string& key, const std::wstring& text = L"")
{
    std::string line = utf8(text);
    std::string shown;
    for (char c : line)
        shown += c == '\n' ? std::string("\\n") : c == '\r' ? std::string("\\r") : std::string(1, c);
    std::printf("%s%s%s\n", key.c_str(), text.empty() ? "" : " ", shown.c_str());
    std::fflush(stdout);
}

bool fail(const char* what)
{
    std::printf("error %s\n", what);
    std::fflush(stdout);
    return false;
}

// Texts of another process's windows come through WM_GETTEXT: GetWindowTextW would not ask it.
// Every wait is long: one paint of a 20000 by 10000 window draws 200 million pixels, about half a
// minute at Wine's 0.15 us a pixel, and the program then looks hung to SMTO_ABORTIFHUNG though
// it is only drawing.
std::wstring textOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 60000, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 60000,
                        &copied);
    text.resize(copied);
    return text;
}

std::wstring classOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// The program's visible top-level windows: the main window first (the one without an owner that
// is no message box), then its pop-ups.
std::vector<HWND> programWindows()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == programProcess && IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    for (size_t i = 0; i < windows.size(); ++i) {
        if (!GetWindow(windows[i], GW_OWNER) && classOf(windows[i]) != L"#32770") {
            std::swap(windows[0], windows[i]);
            return windows;
        }
    }
    windows.insert(windows.begin(), nullptr);
    return windows;
}

HWND mainWindow()
{
    return programWindows()[0];
}

// Waits up to 60 s for a visible pop-up of the program of the given class ("" for any).
HWND waitForPopup(const wchar_t* className)
{
    for (int i = 0; i < 1200; ++i) {
        std::vector<HWND> windows = programWindows();
        for (size_t j = 1; j < windows.size(); ++j)
            if (!*className || classOf(windows[j]) == className)
                return windows[j];
        Sleep(50);
    }
    return nullptr;
}

bool waitUntilGone(HWND window)
{
    for (int i = 0; i < 1200; ++i) {
        if (!IsWindow(window) || !IsWindowVisible(window))
            return true;
        Sleep(50);
    }
    return fail("a window did not close");
}

HWND childOfClass(HWND parent, const wchar_t* className)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (classOf(child) == className)
            return child;
    return nullptr;
}

std::wstring messageText(HWND box)
{
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (classOf(child) == L"Static")
            text += textOf(child);
    return text;
}

bool reportState()
{
    std::vector<HWND> windows = programWindows();
    HWND main = windows[0];
    if (!main)
        say("nowindow");
    else {
        DWORD_PTR ignored = 0;
        say(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored) ? "answers 1" : "answers 0");
        say("title", textOf(main));
        say(IsIconic(main) ? "iconic 1" : "iconic 0");
        RECT client = {};
        GetClientRect(main, &client);
        say("client " + std::to_string(client.right) + " " + std::to_string(client.bottom));
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &thread))
            say("focus " + (thread.hwndFocus ? utf8(classOf(thread.hwndFocus)) : std::string("none")) +
                (thread.hwndActive == main ? " active" : " inactive"));
        for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child))
                continue;
            RECT place = {};
            GetWindowRect(child, &place);
            say("child " + utf8(classOf(child)) + " " + std::to_string(place.right - place.left) + " " +
                    std::to_string(place.bottom - place.top),
                textOf(child));
        }
    }
    for (size_t i = 1; i < windows.size(); ++i)
        say("popup " + utf8(classOf(windows[i])), textOf(windows[i]));
    // A message box that exists but does not show would hold the program in its modal loop.
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == programProcess && !IsWindowVisible(window) && classOf(window) == L"#32770") {
                RECT place = {};
                GetWindowRect(window, &place);
                say("hidden #32770 at " + std::to_string(place.left) + "," + std::to_string(place.top), textOf(window));
            }
            return TRUE;
        },
        0);
    return true;
}

bool waitForProgram()
{
    for (int i = 0; i < 1200; ++i) {
        std::vector<HWND> windows = programWindows();
        if (windows[0] || windows.size() > 1)
            return true;
        Sleep(50);
    }
    return fail("no window within 60 s");
}

HWND openSettings()
{
    HWND main = mainWindow();
    if (!main)
        return fail("no main window"), nullptr;
    // Keys still on their way reach the settings window after this command and do nothing
    // there. (Waiting for the program to take them in first would not help: under Wine,
    // WaitForInputIdle returns at once after the program's first wait for messages.)
    PostMessageW(main, WM_COMMAND, CMD_SETTINGS, 0);
    HWND settings = waitForPopup(SETTINGS_WINDOW_CLASS);
    if (!settings)
        return fail("the settings window did not open"), nullptr;
    // Its controls are made after the window shows: wait for the last of them.
    for (int i = 0; i < 1200 && !childOfClass(settings, L"Button"); ++i)
        Sleep(50);
    return settings;
}

bool settingsRead()
{
    HWND settings = openSettings();
    if (!settings)
        return false;
    say("settings " + utf8(textOf(childOfClass(settings, L"Edit"))) + "\t" +
        utf8(textOf(childOfClass(settings, L"ComboBox"))));
    PostMessageW(settings, WM_COMMAND, CMD_CANCEL, 0);
    return waitUntilGone(settings);
}

bool settingsStore(const char* size, const char* family, bool byCloseBox)
{
    HWND settings = openSettings();
    if (!settings)
        return false;
    std::wstring sizeText = wide(size), familyText = wide(family);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(childOfClass(settings, L"Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(sizeText.c_str()),
                        SMTO_NORMAL, 60000, &ignored);
    SendMessageTimeoutW(childOfClass(settings, L"ComboBox"), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(familyText.c_str()), SMTO_NORMAL, 60000, &ignored);
    if (byCloseBox)
        PostMessageW(settings, WM_CLOSE, 0, 0);
    else
        PostMessageW(settings, WM_COMMAND, CMD_SAVE, 0);
    return waitUntilGone(settings);
}

bool dismissBox()
{
    HWND box = waitForPopup(L"#32770");
    if (!box)
        return fail("no message box");
    // The box shows before its text is filled in.
    std::wstring text = messageText(box);
    for (int i = 0; i < 1200 && text.empty(); ++i) {
        Sleep(50);
        text = messageText(box);
    }
    say("message", text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return waitUntilGone(box);
}

bool putOnClipboard(const std::wstring& units)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (units.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), units.c_str(), (units.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr))
        return fail("the clipboard is held");
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    return true;
}

// Sent, not posted: the probe's next command (a look at the screen) must not overtake it.
bool sendSysCommand(WPARAM command)
{
    HWND main = mainWindow();
    if (!main)
        return fail("no main window");
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main, WM_SYSCOMMAND, command, 0, SMTO_NORMAL, 60000, &ignored);
    return true;
}

bool postToMain(UINT message, WPARAM wParam)
{
    HWND main = mainWindow();
    if (!main)
        return fail("no main window");
    PostMessageW(main, message, wParam, 0);
    return true;
}

// Waits until the program has handled what was sent and posted to it so far, and a little
// longer: Wine copies a window's drawing to the X screen shortly after, not at once.
void letProgramSettle(HWND main)
{
    // A paint message waits behind sent ones: first the part to paint is taken (BeginPaint), then
    // the program is back in its loop once it has drawn it.
    for (int i = 0; i < 1200 && GetUpdateRect(main, nullptr, FALSE); ++i)
        Sleep(5);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
    Sleep(150);
}

// The client area's pixels as the screen shows them, with `left out` blanked.
std::vector<uint32_t> screenPixels(HWND main, const RECT& client, const std::vector<RECT>& leftOut)
{
    POINT origin = {0, 0};
    ClientToScreen(main, &origin);
    const LONG width = client.right, height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return {};
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                                 static_cast<const uint32_t*>(bits) + static_cast<size_t>(width) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    for (const RECT& r : leftOut)
        for (LONG y = std::max<LONG>(r.top, 0); y < std::min(r.bottom, height); ++y)
            for (LONG x = std::max<LONG>(r.left, 0); x < std::min(r.right, width); ++x)
                pixels[static_cast<size_t>(y) * width + x] = 0;
    return pixels;
}

// The client area as the screen shows it (only what the screen can show of a window larger than
// it), with the child controls left out; empty when nothing of it shows.
struct Look {
    RECT client = {};
    RECT box = {};
    std::vector<uint32_t> pixels;
};

Look lookAt(HWND main)
{
    Look look;
    GetClientRect(main, &look.client);
    POINT origin = {0, 0};
    ClientToScreen(main, &origin);
    look.client.right = std::min<LONG>(look.client.right, GetSystemMetrics(SM_CXSCREEN) - origin.x);
    look.client.bottom = std::min<LONG>(look.client.bottom, GetSystemMetrics(SM_CYSCREEN) - origin.y);
    if (look.client.right <= 0 || look.client.bottom <= 0)
        return look;
    std::vector<RECT> leftOut;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT place = {};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&place), 2);
        leftOut.push_back(place);
        if (classOf(child) == L"Edit") {
            look.box = place;
            // A window target draws the faint hairline of an erased frame, which stays until a
            // whole repaint: the band round the box is left out there.
            const wchar_t* aboveOnly = _wgetenv(L"PACEWORD_COMPARE_ABOVE_BOX");
            if (aboveOnly && *aboveOnly)
                leftOut.push_back({0, place.top - 5, look.client.right, look.client.bottom});
        }
    }
    look.pixels = screenPixels(main, look.client, leftOut);
    return look;
}

bool sameLook(const Look& a, const Look& b)
{
    return EqualRect(&a.client, &b.client) && EqualRect(&a.box, &b.box) && a.pixels == b.pixels;
}

bool compareWithRepaint()
{
    HWND main = mainWindow();
    if (!main)
        return fail("no main window");
    if (IsIconic(main))
        return say("repaint minimised"), true;
    // What the program left once it is quiet: a screen that still changes between two looks is
    // one the program is still working on (a resize by the X server reaches it some time after
    // xdotool asked for it, later still on a loaded machine), not one it left.
    letProgramSettle(main);
    Look shown = lookAt(main);
    for (int i = 0; i < 40; ++i) {
        letProgramSettle(main);
        Look again = lookAt(main);
        const bool settled = sameLook(shown, again);
        shown = std::move(again);
        if (settled)
            break;
    }
    if (shown.client.right <= 0 || shown.client.bottom <= 0)
        return say("repaint offscreen"), true;
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    letProgramSettle(main);
    const Look wholeLook = lookAt(main);
    const std::vector<uint32_t>& whole = wholeLook.pixels;
    const RECT& client = shown.client;
    const RECT& box = shown.box;
    if (shown.pixels.empty() || !EqualRect(&wholeLook.client, &client) || !EqualRect(&wholeLook.box, &box))
        return fail("the screen could not be read, or the window moved during the repaint");
    size_t differing = 0;
    RECT within = {client.right, client.bottom, 0, 0};  // where the differing pixels lie
    for (size_t i = 0; i < shown.pixels.size(); ++i)
        if (shown.pixels[i] != whole[i]) {
            ++differing;
            const LONG x = static_cast<LONG>(i % client.right), y = static_cast<LONG>(i / client.right);
            within = {std::min(within.left, x), std::min(within.top, y), std::max(within.right, x + 1),
                      std::max(within.bottom, y + 1)};
        }
    if (differing == 0)
        return say("repaint same"), true;
    auto edges = [](const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
               std::to_string(r.bottom);
    };
    say("repaint differs " + std::to_string(differing) + " within " + edges(within) + " client " + edges(client) +
        " box " + edges(box));
    return true;
}

bool invalidatePart(const char* x, const char* y, const char* width, const char* height)
{
    HWND main = mainWindow();
    if (!main)
        return fail("no main window");
    const LONG left = std::atol(x), top = std::atol(y);
    const RECT part = {left, top, left + std::atol(width), top + std::atol(height)};
    RedrawWindow(main, &part, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    letProgramSettle(main);
    return true;
}

bool clickButton(const char* text)
{
    HWND main = mainWindow();
    if (!main)
        return fail("no main window");
    const std::wstring prefix = wide(text);
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child) && classOf(child) == L"Button" && textOf(child).rfind(prefix, 0) == 0) {
            PostMessageW(child, BM_CLICK, 0, 0);
            letProgramSettle(main);
            return true;
        }
    return fail("no such button");
}

}  // namespace

int main(int argc, char** argv)
{
    // Lines end in LF alone, as the scripts reading them expect.
    _setmode(_fileno(stdout), _O_BINARY);
    // Wine may take a while to start the program: give it 30 s.
    for (int i = 0; i < 300 && !programProcess; ++i) {
        programProcess = findProgramProcess();
        if (!programProcess)
            Sleep(100);
    }
    if (!programProcess) {
        say("noprocess");
        return 1;
    }
    // The arguments as typed: argv holds them in the ANSI code page, which has no Hebrew letters.
    int wideCount = 0;
    LPWSTR* wideArguments = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    if (!wideArguments || wideCount != argc)
        return fail("cannot read the command line"), 1;
    bool ok = true;
    for (int i = 1; i < argc && ok; ++i) {
        std::string command = argv[i];
        bool twoArguments = command == "settings-save" || command == "settings-close";
        const int arguments = twoArguments                               ? 2
                              : command == "invalidate"                  ? 4
                              : command == "paste" || command == "click" ? 1
                                                                         : 0;
        if (i + arguments >= argc)
            return fail("missing arguments"), 1;
        if (command == "wait")
            ok = waitForProgram();
        else if (command == "state")
            ok = reportState();
        else if (command == "settings-read")
            ok = settingsRead();
        else if (twoArguments) {
            ok = settingsStore(argv[i + 1], argv[i + 2], command == "settings-close");
            i += 2;
        } else if (command == "dismiss")
            ok = dismissBox();
        else if (command == "paste")
            ok = putOnClipboard(wideArguments[++i]);
        else if (command == "repaint")
            ok = compareWithRepaint();
        else if (command == "invalidate") {
            ok = invalidatePart(argv[i + 1], argv[i + 2], argv[i + 3], argv[i + 4]);
            i += 4;
        } else if (command == "click")
            ok = clickButton(argv[++i]);
        else if (command == "maximize")
            ok = sendSysCommand(SC_MAXIMIZE);
        else if (command == "minimize")
            ok = sendSysCommand(SC_MINIMIZE);
        else if (command == "restore")
            ok = sendSysCommand(SC_RESTORE);
        else if (command == "close")
            ok = postToMain(WM_CLOSE, 0);
        else
            ok = fail("unknown command");
    }
    return ok ? 0 : 1;
}
