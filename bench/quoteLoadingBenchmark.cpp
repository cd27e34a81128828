// How fast the quote file loads, natively: the program's loader on the same text as ASCII, UTF-8
// and UTF-16, against the obvious wide-stream reader and a bare read of the bytes, on a file of
// 500,000 quotes (about 50 MB as ASCII).
#include "bench/quoteReaders.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

struct BenchmarkFile {
    std::string path;
    std::size_t size = 0;
};
BenchmarkFile files[3];  // by BenchmarkFileForm

const BenchmarkFile& fileFor(const benchmark::State& state)
{
    return files[state.range(0)];
}

// The program keeps its library until it ends, so freeing it is left out of the timing.
void ourLoader(benchmark::State& state)
{
    const BenchmarkFile& file = fileFor(state);
    for (auto _ : state) {
        QuoteLibrary library;
        if (!readWithOurLoader(file.path, library)) {
            state.SkipWithError("the quote file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(library.lineStarts.data());
        state.PauseTiming();
        library = QuoteLibrary();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size));
}

void wideStreamReader(benchmark::State& state)
{
    const BenchmarkFile& file = fileFor(state);
    for (auto _ : state) {
        std::vector<std::wstring> quotes;
        if (!readWithWideStream(file.path, quotes)) {
            state.SkipWithError("the quote file did not read back whole");
            break;
        }
        benchmark::DoNotOptimize(quotes.data());
        state.PauseTiming();
        std::vector<std::wstring>().swap(quotes);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size));
}

void bareRead(benchmark::State& state)
{
    const BenchmarkFile& file = fileFor(state);
    std::string buffer(file.size, '\0');
    for (auto _ : state) {
        if (!readBare(file.path, buffer)) {
            state.SkipWithError("short read");
            break;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size));
}

// The bytes into a buffer made for them, as any loader that keeps them must: on a machine where
// first touching fresh memory is slow this, not the read into a warm buffer, is the floor.
void bareReadFresh(benchmark::State& state)
{
    const BenchmarkFile& file = fileFor(state);
    for (auto _ : state) {
        std::string bytes;
        if (!readFileBeginning(file.path.c_str(), maxQuoteFileBytes + 1, bytes)) {
            state.SkipWithError("short read");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
        state.PauseTiming();
        std::string().swap(bytes);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size));
}

}  // namespace

// The argument is the file: 0 ASCII, 1 UTF-8, 2 UTF-16.
BENCHMARK(bareRead)->Unit(benchmark::kMillisecond)->Arg(0);
BENCHMARK(bareReadFresh)->Unit(benchmark::kMillisecond)->Arg(0);
BENCHMARK(ourLoader)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->Arg(2);
// Slow enough that a few passes say all there is to say and keep the run short.
BENCHMARK(wideStreamReader)->Unit(benchmark::kMillisecond)->Iterations(3)->Arg(0);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const char* const names[] = {"pacewordQuotesAscii.txt", "pacewordQuotesUtf8.txt", "pacewordQuotesUtf16.txt"};
    for (int form = 0; form < 3; ++form) {
        files[form].path = (std::filesystem::temp_directory_path() / names[form]).string();
        files[form].size = writeBenchmarkQuoteFile(files[form].path, static_cast<BenchmarkFileForm>(form));
        if (files[form].size == 0) {
            std::fprintf(stderr, "cannot write %s\n", files[form].path.c_str());
            return 1;
        }
        // Read once so every benchmark starts with the file in the page cache.
        QuoteLibrary warm;
        readWithOurLoader(files[form].path, warm);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const BenchmarkFile& file : files)
        std::remove(file.path.c_str());
    return 0;
}
