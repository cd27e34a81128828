// How fast the quote file loads in the Windows build, whose C and C++ runtimes are not the
// native ones: the same readers, timed with the steady clock (Google Benchmark is not built for
// Windows here). Prints the best of five passes of each, in MB/s.
#include "bench/quoteReaders.h"

#include <algorithm>
#include <chrono>

namespace {

// `forget` runs before each timed pass, outside the timing: the program keeps what it reads
// until it ends, so freeing the last pass's result is no part of reading.
template <typename Read, typename Forget> double bestSeconds(Read read, Forget forget, int passes = 5)
{
    double best = 1e9;
    for (int pass = 0; pass < passes; ++pass) {
        forget();
        auto start = std::chrono::steady_clock::now();
        if (!read())
            return -1.0;
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void report(const char* name, double seconds, std::size_t bytes)
{
    if (seconds < 0)
        std::printf("%-24s failed\n", name);
    else
        std::printf("%-24s %8.1f ms %10.1f MB/s\n", name, seconds * 1000, static_cast<double>(bytes) / seconds / 1e6);
}

}  // namespace

int main()
{
    const char* const paths[] = {"pacewordQuotesAscii.txt", "pacewordQuotesUtf8.txt", "pacewordQuotesUtf16.txt"};
    const char* const loaderNames[] = {"ourLoader/ascii", "ourLoader/utf8", "ourLoader/utf16"};
    std::size_t sizes[3] = {};
    for (int form = 0; form < 3; ++form) {
        sizes[form] = writeBenchmarkQuoteFile(paths[form], static_cast<BenchmarkFileForm>(form));
        if (sizes[form] == 0) {
            std::fprintf(stderr, "cannot write %s\n", paths[form]);
            return 1;
        }
    }
    std::string buffer(sizes[0], '\0');
    auto nothing = []() {};
    report("bareRead/ascii", bestSeconds([&]() { return readBare(paths[0], buffer); }, nothing), sizes[0]);
    // Into a buffer made for the bytes, as any loader that keeps them must.
    std::string fresh;
    report("bareReadFresh/ascii",
           bestSeconds([&]() { return readFileBeginning(paths[0], maxQuoteFileBytes + 1, fresh); },
                       [&]() { std::string().swap(fresh); }),
           sizes[0]);
    QuoteLibrary library;
    auto forgetLibrary = [&]() { library = QuoteLibrary(); };
    for (int form = 0; form < 3; ++form)
        report(loaderNames[form], bestSeconds([&]() { return readWithOurLoader(paths[form], library); }, forgetLibrary),
               sizes[form]);
    std::vector<std::wstring> quotes;
    auto forgetQuotes = [&]() { std::vector<std::wstring>().swap(quotes); };
    report("wideStreamReader/ascii",
           bestSeconds([&]() { return readWithWideStream(paths[0], quotes); }, forgetQuotes, 3), sizes[0]);
    for (const char* path : paths)
        std::remove(path);
    return 0;
}
