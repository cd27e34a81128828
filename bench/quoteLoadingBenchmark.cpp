// How fast the quote file loads, natively: our reader against the obvious wide-stream reader and
// against a bare read of the same bytes, on a 50 MB file of 500,000 quotes.
#include "bench/quoteReaders.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

std::string quoteFilePath;
std::size_t quoteFileSize = 0;

using LineReader = bool (*)(const std::string&, std::vector<std::wstring>&);

// The program keeps its quotes until it ends, so freeing them is left out of the timing.
void readLines(benchmark::State& state, LineReader reader)
{
    for (auto _ : state) {
        std::vector<std::wstring> quotes;
        if (!reader(quoteFilePath, quotes) || quotes.size() != benchmarkQuoteCount) {
            state.SkipWithError("the quote file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(quotes.data());
        state.PauseTiming();
        std::vector<std::wstring>().swap(quotes);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(quoteFileSize));
}

void ourReader(benchmark::State& state)
{
    readLines(state, readWithOurReader);
}

void wideStreamReader(benchmark::State& state)
{
    readLines(state, readWithWideStream);
}

void bareRead(benchmark::State& state)
{
    std::string buffer(quoteFileSize, '\0');
    for (auto _ : state) {
        if (!readBare(quoteFilePath, buffer)) {
            state.SkipWithError("short read");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
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
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    quoteFilePath = (std::filesystem::temp_directory_path() / "pacewordQuoteBenchmark.txt").string();
    quoteFileSize = writeBenchmarkQuoteFile(quoteFilePath);
    if (quoteFileSize == 0) {
        std::fprintf(stderr, "cannot write %s\n", quoteFilePath.c_str());
        return 1;
    }
    // Read once so every benchmark starts with the file in the page cache.
    std::vector<std::wstring> warm;
    readWithOurReader(quoteFilePath, warm);
    std::vector<std::wstring>().swap(warm);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(quoteFilePath.c_str());
    return 0;
}
