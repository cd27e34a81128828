// How long each key takes in the real window: the program starts in this process, a long quote
// is typed through the real typing box with wrong letters and their corrections mixed in, and
// each key is timed from its arrival in the queue to the end of the drawing it caused (the box's
// and the main window's pending paints included). Prints figures per kind of key; it judges
// nothing.
// Usage: keystroke_times.exe [default | large]   (large: a 1920x1080 window at text size 90)
#include "app/appState.h"
#include "app/startup.h"
#include "typing/typing.h"
#include "bench/keystrokeKeys.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

HACCEL accelerators = nullptr;

void pumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message != WM_QUIT)
            translateAndDispatch(message, accelerators);
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void writeFile(const char* name, const std::string& bytes)
{
    if (FILE* file = std::fopen(name, "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const bool large = argc > 1 && std::strcmp(argv[1], "large") == 0;
    const int rounds = large ? 3 : 5;
    CreateDirectoryW(L"keystroke-times-work", nullptr);
    SetCurrentDirectoryW(L"keystroke-times-work");
    writeFile("quotes.txt", std::string(benchmarkQuote) + "\n");
    writeFile("settings.txt", large ? "90\r\nArial\r\n" : "20\r\nArial\r\n");
    if (!setUpBeforeMessageLoop(GetModuleHandleW(nullptr), SW_SHOWNORMAL, accelerators)) {
        std::printf("the program did not start\n");
        return 1;
    }
    if (large)
        SetWindowPos(appState.mainWindow, nullptr, 0, 0, 1920, 1080, SWP_NOZORDER | SWP_NOACTIVATE);
    pumpMessages();
    UpdateWindow(appState.mainWindow);

    const std::vector<Key> keys = keysFor(benchmarkQuote);
    std::vector<double> figures[kindCount];
    for (int round = 0; round < rounds; ++round) {
        for (const Key& key : keys) {
            const auto start = std::chrono::steady_clock::now();
            PostMessageW(GetFocus(), WM_CHAR, key.character, 1);
            pumpMessages();
            if (appState.typingEdit)
                UpdateWindow(appState.typingEdit);
            UpdateWindow(appState.mainWindow);
            if (key.kind == lastKey) {
                // The results screen's controls paint themselves as they are shown; the retired
                // box goes on the posted message.
                pumpMessages();
                RedrawWindow(appState.mainWindow, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            }
            figures[key.kind].push_back(millisecondsSince(start));
        }
        if (!appState.resultsShown) {
            std::printf("round %d did not reach the results screen\n", round + 1);
            return 1;
        }
        SendMessageW(appState.mainWindow, WM_COMMAND, CMD_RETRY, 0);
        pumpMessages();
        UpdateWindow(appState.mainWindow);
    }

    RECT client = {};
    GetClientRect(appState.mainWindow, &client);
    std::printf("client area %ldx%ld, text size %g, quote of %zu characters, %d rounds\n", client.right, client.bottom,
                static_cast<double>(appState.textSize), std::strlen(benchmarkQuote), rounds);
    printFigures(figures);
    DestroyWindow(appState.mainWindow);
    pumpMessages();
    return 0;
}
