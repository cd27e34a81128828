// How long each key takes in the real window: the program starts in this process, a long quote
// is typed through the real typing box with wrong letters and their corrections mixed in, and
// each key is timed from its arrival in the queue to the end of the drawing it caused (the box's
// and the main window's pending paints included). Prints figures per kind of key; it judges
// nothing.
// Usage: keystroke_times.exe [default | large]   (large: a 1920x1080 window at text size 90;
//        PACEWORD_QUOTE_LENGTH=N: a quote N characters long, its first 300 typed before each retry)
#include "app/appState.h"
#include "app/startup.h"
#include "render/textWithinArea.h"
#include "typing/typing.h"
#include "bench/keystrokeKeys.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

// What the platform calls of a word end cost in the current layout, each alone, as medians of 200:
// moving the underline (DirectWrite may lay out the runs again), moving it and then walking the
// runs as every drawing pass does, walking them alone, and reading the line and cluster metrics.
void printWordEndSteps()
{
    IDWriteTextLayout* layout = appState.textLayout.Get();
    const UINT32 quoteLength = static_cast<UINT32>(appState.currentQuote.size());
    auto median = [&](auto step) {
        std::vector<double> times;
        for (UINT32 i = 0; i < 200; ++i) {
            const DWRITE_TEXT_RANGE off = {(i * 6) % quoteLength, 5}, on = {(i * 6 + 6) % quoteLength, 5};
            const auto start = std::chrono::steady_clock::now();
            step(off, on);
            times.push_back(millisecondsSince(start));
        }
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    const double underline = median([&](DWRITE_TEXT_RANGE off, DWRITE_TEXT_RANGE on) {
        layout->SetUnderline(FALSE, off);
        layout->SetUnderline(TRUE, on);
    });
    const double underlineAndWalk = median([&](DWRITE_TEXT_RANGE off, DWRITE_TEXT_RANGE on) {
        layout->SetUnderline(FALSE, off);
        layout->SetUnderline(TRUE, on);
        leastUnderlineOffset(appState.renderTarget.Get(), layout);
    });
    const double walk = median(
        [&](DWRITE_TEXT_RANGE, DWRITE_TEXT_RANGE) { leastUnderlineOffset(appState.renderTarget.Get(), layout); });
    const double metrics = median([&](DWRITE_TEXT_RANGE, DWRITE_TEXT_RANGE) {
        UINT32 lines = 0, clusters = 0;
        layout->GetLineMetrics(nullptr, 0, &lines);
        layout->GetClusterMetrics(nullptr, 0, &clusters);
        std::vector<DWRITE_LINE_METRICS> lineMetrics(lines);
        std::vector<DWRITE_CLUSTER_METRICS> clusterMetrics(clusters);
        layout->GetLineMetrics(lineMetrics.data(), lines, &lines);
        layout->GetClusterMetrics(clusterMetrics.data(), clusters, &clusters);
    });
    std::printf("word-end steps (median ms): underline moved %.3f, moved and runs walked %.3f, runs walked alone "
                "%.3f, line and cluster metrics read %.3f\n",
                underline, underlineAndWalk, walk, metrics);
}

}  // namespace

int main(int argc, char** argv)
{
    const bool large = argc > 1 && std::strcmp(argv[1], "large") == 0;
    const int rounds = large ? 3 : 5;
    CreateDirectoryW(L"keystroke-times-work", nullptr);
    SetCurrentDirectoryW(L"keystroke-times-work");
    const std::string quote = benchmarkQuoteOfLength(std::getenv("PACEWORD_QUOTE_LENGTH"));
    writeFile("quotes.txt", quote + "\n");
    writeFile("settings.txt", large ? "90\r\nArial\r\n" : "20\r\nArial\r\n");
    if (!setUpBeforeMessageLoop(GetModuleHandleW(nullptr), SW_SHOWNORMAL, accelerators)) {
        std::printf("the program did not start\n");
        return 1;
    }
    if (large)
        SetWindowPos(appState.mainWindow, nullptr, 0, 0, 1920, 1080, SWP_NOZORDER | SWP_NOACTIVATE);
    pumpMessages();
    UpdateWindow(appState.mainWindow);

    // In a long quote, its first 300 characters' keys and then a retry.
    std::vector<Key> keys = keysFor(quote);
    if (quote.size() > std::strlen(benchmarkQuote))
        keys.resize(keysFor(benchmarkQuote).size() - 1);
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
        if (!appState.resultsShown && keys.back().kind == lastKey) {
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
                static_cast<double>(appState.textSize), quote.size(), rounds);
    printFigures(figures);
    printWordEndSteps();
    DestroyWindow(appState.mainWindow);
    pumpMessages();
    return 0;
}
