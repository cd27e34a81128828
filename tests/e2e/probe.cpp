// Looks at and drives the running Paceword.exe from another process, as a user or an
// accessibility tool would: finds its windows, reads their texts through WM_GETTEXT, opens and
// saves the settings window, answers a message box. The end-to-end scripts run it under
// the same wineserver as the program.
// Usage: probe COMMAND [ARGUMENTS] ... ; one line of output per fact, "error ..." and exit code 1
// when something did not happen within 60 s.
//   wait                  waits up to 60 s for the main window or a message box
//   state                 answers, title, iconic, client size, visible children, other windows
//   settings-read         opens the settings window, prints "settings SIZE<TAB>FAMILY", cancels
//   settings-save S F     opens it, types S and F, presses Save
//   settings-close S F    the same, but closes it by its close box
//   dismiss               prints "message TEXT" of the message box and presses OK
//   paste TEXT            puts TEXT on the clipboard (the script then presses Ctrl+V)
//   minimize | restore | close
#include <windows.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
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

// The program's file name: Paceword.exe, or the copy a test runs named in PACEWORD_PROGRAM.
DWORD findProgramProcess()
{
    const wchar_t* named = _wgetenv(L"PACEWORD_PROGRAM");
    const wchar_t* program = named && *named ? named : L"Paceword.exe";
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, program) == 0)
            found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
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
    PostMessageW(main, WM_COMMAND, 32772, 0);
    HWND settings = waitForPopup(L"sName");
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
    PostMessageW(settings, WM_COMMAND, 102, 0);
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
        PostMessageW(settings, WM_COMMAND, 101, 0);
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

bool putOnClipboard(const char* text)
{
    std::wstring units = wide(text);
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

bool postToMain(UINT message, WPARAM wParam)
{
    HWND main = mainWindow();
    if (!main)
        return fail("no main window");
    PostMessageW(main, message, wParam, 0);
    return true;
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
    bool ok = true;
    for (int i = 1; i < argc && ok; ++i) {
        std::string command = argv[i];
        bool twoArguments = command == "settings-save" || command == "settings-close";
        if ((twoArguments && i + 2 >= argc) || (command == "paste" && i + 1 >= argc))
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
            ok = putOnClipboard(argv[++i]);
        else if (command == "minimize")
            ok = postToMain(WM_SYSCOMMAND, SC_MINIMIZE);
        else if (command == "restore")
            ok = postToMain(WM_SYSCOMMAND, SC_RESTORE);
        else if (command == "close")
            ok = postToMain(WM_CLOSE, 0);
        else
            ok = fail("unknown command");
    }
    return ok ? 0 : 1;
}
