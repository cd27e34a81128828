// How fast the quote file loads: our reader against the obvious wide-stream reader and against
// a bare read of the same bytes, on a 50 MB file of 500,000 quotes.
#include "typing/quoteText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

const int quoteCount = 500000;
std::string quoteFilePath;
std::size_t quoteFileSize = 0;

// Lines of varied words, about 100 bytes each, LF-ended; the same file on every run.
bool writeQuoteFile(const std::string& path)
{
    const char* const words[] = {
        "the",     "quick", "brown",    "fox",    "jumps",    "over",     "lazy",   "dog",    "typing",   "speed",
        "measure", "every", "keyboard", "letter", "sentence", "quietly",  "after",  "river",  "mountain", "a",
        "of",      "never", "patience", "winter", "light",    "remember", "strong", "garden", "whisper",  "number"};
    const std::size_t wordCount = sizeof words / sizeof words[0];
    std::mt19937 engine(12345);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::string line;
    quoteFileSize = 0;
    for (int i = 0; i < quoteCount; ++i) {
        line.clear();
        const std::size_t target = 90 + engine() % 20;
        while (line.size() < target) {
            line += words[engine() % wordCount];
            line += ' ';
        }
        line.back() = '.';
        line += '\n';
        quoteFileSize += std::fwrite(line.data(), 1, line.size(), file);
    }
    return std::fclose(file) == 0;
}

// The program keeps its quotes until it ends, so freeing them is left out of the timing;
// the bytes of the file, which are freed once the lines are made, are timed.
void freeUntimed(benchmark::State& state, std::vector<std::wstring>& quotes)
{
    state.PauseTiming();
    std::vector<std::wstring>().swap(quotes);
    state.ResumeTiming();
}

void ourReader(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<std::wstring> quotes;
        {
            std::string bytes;
            if (!readFileBytes(quoteFilePath.c_str(), bytes)) {
                state.SkipWithError("cannot read the quote file");
                break;
            }
            appendQuoteLines(bytes.data(), bytes.size(), quotes);
        }
        benchmark::DoNotOptimize(quotes.data());
        if (quotes.size() != quoteCount) {
            state.SkipWithError("wrong number of quotes");
            break;
        }
        freeUntimed(state, quotes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(quoteFileSize));
}

void wideStreamReader(benchmark::State& state)
{
    for (auto _ : state) {
        std::wifstream stream(quoteFilePath, std::ios::binary);
        std::vector<std::wstring> quotes;
        std::wstring line;
        while (std::getline(stream, line)) {
            quotes.push_back(line);
        }
        benchmark::DoNotOptimize(quotes.data());
        if (quotes.size() != quoteCount) {
            state.SkipWithError("wrong number of quotes");
            break;
        }
        freeUntimed(state, quotes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(quoteFileSize));
}

// The floor: the file's bytes into a buffer that already exists, nothing more.
void bareRead(benchmark::State& state)
{
    std::string buffer(quoteFileSize, '\0');
    for (auto _ : state) {
        std::FILE* file = std::fopen(quoteFilePath.c_str(), "rb");
        if (file == nullptr) {
            state.SkipWithError("cannot open the quote file");
            break;
        }
        const std::size_t got = std::fread(&buffer[0], 1, buffer.size(), file);
        std::fclose(file);
        benchmark::DoNotOptimize(buffer.data());
        if (got != quoteFileSize) {
            state.SkipWithError("short read");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(quoteFileSize));
}

}  // namespace

BENCHMARK(ourReader)->Unit(benchmark::kMillisecond);
// Slow enough that a few passes say all there is to say and keep the run short.
BENCHMARK(wideStreamReader)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(bareRead)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    quoteFilePath = (std::filesystem::temp_directory_path() / "pacewordQuoteBenchmark.txt").string();
    if (!writeQuoteFile(quoteFilePath)) {
        std::fprintf(stderr, "cannot write %s\n", quoteFilePath.c_str());
        return 1;
    }
    // Read once so every benchmark starts with the file in the page cache.
    std::string warm;
    readFileBytes(quoteFilePath.c_str(), warm);
    warm.clear();
    warm.shrink_to_fit();

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(quoteFilePath.c_str());
    return 0;
}
