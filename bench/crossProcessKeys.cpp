// How long each key takes when it comes from outside the program, as a user's keys do: another
// process sends each character to the running Paceword.exe's typing box, then has the box and
// the main window paint what is pending, and times the whole from here. The program's threads,
// Wine's command-stream thread, the wineserver and the X server then share the machine as they do
// for a user. Prints figures per kind of key; it judges nothing.
// Usage: cross_process_keys.exe files [large]    writes quotes.txt (the benchmark's quote) and
//                                               settings.txt (size 20, or 90) here
//        cross_process_keys.exe [ROUNDS] [large]   times the keys in the running program (large:
//                                                  in a 1920x1080 window)
//        (PACEWORD_PROGRAM names another program file than Paceword.exe; PACEWORD_QUOTE_LENGTH=N
//        makes the quote N characters long, of which the first 300 are typed before each retry)
#include "bench/keystrokeKeys.h"
#include "resources/resource.h"
#include "tests/e2e/programProcess.h"

#include <windows.h>
#include <tlhelp32.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

DWORD programProcess = 0;

HWND findMainWindow()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == programProcess && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// The visible typing box, once the ready screen shows it.
HWND waitForBox(HWND main)
{
    for (int i = 0; i < 600; ++i) {
        for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            if (IsWindowVisible(child) && _wcsicmp(name, L"Edit") == 0)
                return child;
        }
        Sleep(50);
    }
    return nullptr;
}

void settle(HWND main)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "files") == 0) {
        const bool large = argc > 2 && std::strcmp(argv[2], "large") == 0;
        FILE* quotes = std::fopen("quotes.txt", "wb");
        FILE* settings = std::fopen("settings.txt", "wb");
        if (!quotes || !settings)
            return 1;
        std::fprintf(quotes, "%s\n", benchmarkQuoteOfLength(std::getenv("PACEWORD_QUOTE_LENGTH")).c_str());
        std::fprintf(settings, "%s\r\nArial\r\n", large ? "90" : "20");
        std::fclose(quotes);
        std::fclose(settings);
        return 0;
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const bool large = argc > 2 && std::strcmp(argv[2], "large") == 0;
    for (int i = 0; i < 300 && !programProcess; ++i) {
        programProcess = findProgramProcess();
        if (!programProcess)
            Sleep(100);
    }
    HWND programWindow = nullptr;
    for (int i = 0; i < 300 && programProcess && !programWindow; ++i) {
        programWindow = findMainWindow();
        if (!programWindow)
            Sleep(100);
    }
    if (!programWindow) {
        std::printf("no running program\n");
        return 1;
    }
    if (large) {
        // The in-process benchmark's large window. (Maximised through its system command, the
        // window took 1432x764 of a 1920x1080 Xvfb screen under Wine, without a window manager.)
        SetWindowPos(programWindow, nullptr, 0, 0, 1920, 1080, SWP_NOZORDER | SWP_NOACTIVATE);
        settle(programWindow);
        UpdateWindow(programWindow);
    }

    // In a long quote, its first 300 characters' keys and then a retry.
    const std::string quote = benchmarkQuoteOfLength(std::getenv("PACEWORD_QUOTE_LENGTH"));
    std::vector<Key> keys = keysFor(quote);
    if (quote.size() > std::strlen(benchmarkQuote))
        keys.resize(keysFor(benchmarkQuote).size() - 1);
    std::vector<double> figures[kindCount];
    for (int round = 0; round < rounds; ++round) {
        HWND box = waitForBox(programWindow);
        if (!box) {
            std::printf("round %d: no typing box\n", round + 1);
            return 1;
        }
        for (const Key& key : keys) {
            const auto start = std::chrono::steady_clock::now();
            // Sent, not posted: the call returns once the box and the program's change handling
            // are through with the key, the drawing passes it caused included.
            SendMessageW(box, WM_CHAR, key.character, 1);
            UpdateWindow(box);
            UpdateWindow(programWindow);
            if (key.kind == lastKey)
                RedrawWindow(programWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            figures[key.kind].push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        // The retry, as the results screen's button gives it.
        PostMessageW(programWindow, WM_COMMAND, CMD_RETRY, 0);
        settle(programWindow);
    }

    RECT client = {};
    GetClientRect(programWindow, &client);
    std::printf("from another process: client area %ldx%ld, quote of %zu characters, %d rounds\n", client.right,
                client.bottom, quote.size(), rounds);
    printFigures(figures);
    return 0;
}
