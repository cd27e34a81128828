// Looks at and drives the running Paceword.exe from another process, as a user or an
// accessibility tool would: finds its windows, reads their texts through WM_GETTEXT, opens and
// saves the settings window, answers a message box, reads the screen. The end-to-end scripts run
// it under the same wineserver as the program.
// Usage: probe COMMAND [ARGUMENTS] ... ; one line of output per fact, "error ..." and exit code 1
// when something did not happen within 60 s.
//   wait                  waits up to 60 s for the main window or a message box
//   state                 answers, title, iconic, client size and place on the screen, the menu
//                         bar's place, the focused window's class and whether the main window is
//                         active, visible children, other windows
//   settings-read         opens the settings window, prints "settings SIZE<TAB>FAMILY", cancels
//   settings-save S F     opens it, types S and F, presses Save
//   settings-close S F    the same, but closes it by its close box
//   size-field S          what the settings window's rule makes of the size S: "size N" or "size kept"
//   dismiss               prints "message TEXT" of the message box and presses OK
//   paste TEXT            puts TEXT on the clipboard (the script then presses Ctrl+V)
//   repaint               compares the main window's client area on the screen before and after a
//                         whole repaint asked for as the system asks: "repaint same" or
//                         "repaint differs COUNT within L,T,R,B client ... box ..."; the child
//                         controls are left out
//   drawn-quote SIZE F    which lines of quotes.txt (in the working folder) the screen shows, each
//                         laid out afresh in family F at SIZE with its first word underlined:
//                         "drawn N..." (from 0), or "drawn none ..." with the closest line
//   pixels X Y W H        "pixels DARK WHITE RED": counts in that part of the client area on the
//                         screen (X, Y below 0 count from the right and bottom; W, H of 0 reach them)
//   invalidate X Y W H    asks the main window to paint that part of its client area, now
//   click TEXT            clicks the main window's button whose text starts with TEXT
//   minimize | maximize | restore | close
#include "app/fileBytes.h"
#include "resources/resource.h"
#include "settings/settingsText.h"
#include "tests/e2e/programProcess.h"
#include "tests/screenComparison.h"
#include "typing/quoteLibrary.h"

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

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
        POINT origin = {0, 0};
        ClientToScreen(main, &origin);
        say("client " + std::to_string(client.right) + " " + std::to_string(client.bottom) + " " +
            std::to_string(origin.x) + " " + std::to_string(origin.y));
        // Where the frame and the caption end: without a window manager to draw them, Wine's X
        // window starts there (and holds the menu bar and the client area).
        WINDOWINFO info = {};
        info.cbSize = sizeof info;
        if (GetWindowInfo(main, &info))
            say("inside " + std::to_string(info.rcWindow.left + static_cast<LONG>(info.cxWindowBorders)) + " " +
                std::to_string(info.rcWindow.top + static_cast<LONG>(info.cyWindowBorders) +
                               GetSystemMetrics(SM_CYCAPTION)));
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

std::string edges(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The client area as the screen shows it once the program is quiet; nothing when minimised.
bool readSettledScreen(HWND main, ClientPixels& shown)
{
    if (!main)
        return fail("no main window");
    if (IsIconic(main))
        return true;
    // A screen that still changes between two looks is one the program is still working on (a
    // resize by the X server reaches it some time after xdotool asked for it, later still on a
    // loaded machine), not one it left.
    letProgramSettle(main);
    shown = readClientPixels(main, true);
    for (int i = 0; i < 40; ++i) {
        letProgramSettle(main);
        ClientPixels again = readClientPixels(main, true);
        const bool settled = EqualRect(&shown.client, &again.client) && EqualRect(&shown.box, &again.box) &&
                             shown.pixels == again.pixels;
        shown = std::move(again);
        if (settled)
            break;
    }
    return true;
}

bool compareWithRepaint()
{
    HWND main = mainWindow();
    ClientPixels shown;
    if (!readSettledScreen(main, shown))
        return false;
    if (IsIconic(main))
        return say("repaint minimised"), true;
    if (shown.pixels.empty())
        return say("repaint offscreen"), true;
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    letProgramSettle(main);
    const ClientPixels whole = readClientPixels(main, true);
    if (!EqualRect(&whole.client, &shown.client) || !EqualRect(&whole.box, &shown.box))
        return fail("the window moved during the repaint");
    const PixelDifference difference = comparePixels(shown, whole);
    if (difference.count == 0)
        return say("repaint same"), true;
    say("repaint differs " + std::to_string(difference.count) + " within " + edges(difference.within) + " client " +
        edges(shown.client) + " box " + edges(shown.box));
    return true;
}

// The lines of quotes.txt that the screen shows: each typable line laid out afresh by the probe's
// own DirectWrite in the program's layout box (the client size less its margin), its first word
// underlined as a fresh attempt shows it, drawn black on white through a DC render target as the
// program draws under Wine, and compared with the screen outside the child controls. Nothing the
// program derived (its layout, its underline, its box) is asked.
bool findDrawnQuote(const wchar_t* family, const char* size)
{
    HWND main = mainWindow();
    ClientPixels shown;
    if (!readSettledScreen(main, shown))
        return false;
    // A client area that the screen does not show matches every line.
    shown.client.right = std::max<LONG>(shown.client.right, 1);
    shown.client.bottom = std::max<LONG>(shown.client.bottom, 1);
    RECT client = {};
    GetClientRect(main, &client);
    ComPtr<ID2D1Factory> d2d;
    ComPtr<IDWriteFactory> dwrite;
    ComPtr<IDWriteTextFormat> format;
    ComPtr<ID2D1DCRenderTarget> target;
    ComPtr<ID2D1SolidColorBrush> black;
    const D2D1_RENDER_TARGET_PROPERTIES properties = D2D1::RenderTargetProperties(
        D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_IGNORE));
    if (FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, d2d.GetAddressOf())) ||
        FAILED(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                   reinterpret_cast<IUnknown**>(dwrite.GetAddressOf()))) ||
        FAILED(dwrite->CreateTextFormat(family, nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                                        DWRITE_FONT_STRETCH_NORMAL, static_cast<float>(std::atof(size)), L"en-us",
                                        format.GetAddressOf())) ||
        FAILED(d2d->CreateDCRenderTarget(&properties, target.GetAddressOf())) ||
        FAILED(target->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1), black.GetAddressOf())))
        return fail("cannot make the Direct2D and DirectWrite objects");
    ClientPixels drawn = shown;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), shown.client.right, -shown.client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return DeleteDC(memory), fail("cannot make a bitmap the size of the client area");
    HGDIOBJ old = SelectObject(memory, bitmap);
    std::string bytes;
    readFileBeginning("quotes.txt", maxQuoteFileBytes, bytes);
    const QuoteLibrary library = makeQuoteLibrary(std::move(bytes));
    std::string matches, closest;
    size_t fewest = SIZE_MAX;
    for (size_t line = 0; line < quoteLineCount(library); ++line) {
        const std::wstring quote = decodeQuoteLine(library, line);
        std::vector<std::wstring> words;
        splitQuoteIntoWords(quote, words);
        const std::wstring text = drawnQuoteText(quote);
        ComPtr<IDWriteTextLayout> layout;
        const LayoutBox box = quoteLayoutBox(client);
        if (quote.empty() ||
            FAILED(dwrite->CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), format.Get(), box.width,
                                            box.height, layout.GetAddressOf())))
            continue;
        layout->SetUnderline(TRUE, {0, static_cast<UINT32>(underlineLengthFor(words, 0))});
        target->BindDC(memory, &shown.client);
        target->BeginDraw();
        target->Clear(D2D1::ColorF(1, 1, 1, 1));
        target->DrawTextLayout(D2D1::Point2F(quoteOrigin, quoteOrigin), layout.Get(), black.Get());
        target->EndDraw();
        GdiFlush();
        const uint32_t* first = static_cast<const uint32_t*>(bits);
        drawn.pixels.assign(first, first + shown.pixels.size());
        for (uint32_t& pixel : drawn.pixels)
            pixel &= 0xFFFFFF;
        leaveOutChildren(main, drawn);
        const size_t differing = comparePixels(shown, drawn).count;
        if (differing == 0)
            matches += " " + std::to_string(line);
        if (differing < fewest) {
            fewest = differing;
            closest = std::to_string(line);
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    say("drawn" +
        (matches.empty() ? " none: line " + closest + " differs in " + std::to_string(fewest) + " pixels" : matches));
    return true;
}

// Dark, white and red pixels of a part of the client area on the screen.
bool countPixels(const char* x, const char* y, const char* width, const char* height)
{
    HWND main = mainWindow();
    if (!main)
        return fail("no main window");
    const ClientPixels shown = readClientPixels(main, true, false);
    const LONG w = shown.client.right, h = shown.client.bottom;
    LONG left = std::atol(x), top = std::atol(y);
    left += left < 0 ? w : 0;
    top += top < 0 ? h : 0;
    const LONG right = std::atol(width) > 0 ? left + std::atol(width) : w;
    const LONG bottom = std::atol(height) > 0 ? top + std::atol(height) : h;
    size_t dark = 0, white = 0, red = 0;
    for (LONG row = std::max<LONG>(top, 0); row < std::min(bottom, h); ++row)
        for (LONG column = std::max<LONG>(left, 0); column < std::min(right, w); ++column) {
            const uint32_t pixel = shown.pixels[static_cast<size_t>(row) * w + column];
            const uint32_t r = pixel >> 16, g = pixel >> 8 & 0xFF, b = pixel & 0xFF;
            dark += r + g + b < 300 ? 1 : 0;
            white += r > 230 && g > 230 && b > 230 ? 1 : 0;
            red += isRed(pixel) ? 1 : 0;
        }
    say("pixels " + std::to_string(dark) + " " + std::to_string(white) + " " + std::to_string(red));
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
        const int arguments = command == "invalidate" || command == "pixels"                        ? 4
                              : twoArguments || command == "drawn-quote"                            ? 2
                              : command == "paste" || command == "click" || command == "size-field" ? 1
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
        } else if (command == "size-field") {
            float size = 0;
            say(readSizeField(wideArguments[++i], size) ? "size " + formatTextSize(size) : std::string("size kept"));
        } else if (command == "dismiss")
            ok = dismissBox();
        else if (command == "paste")
            ok = putOnClipboard(wideArguments[++i]);
        else if (command == "repaint")
            ok = compareWithRepaint();
        else if (command == "drawn-quote") {
            ok = findDrawnQuote(wideArguments[i + 2], argv[i + 1]);
            i += 2;
        } else if (command == "pixels") {
            ok = countPixels(argv[i + 1], argv[i + 2], argv[i + 3], argv[i + 4]);
            i += 4;
        } else if (command == "invalidate") {
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
