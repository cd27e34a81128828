// How fast the quote file loads in the Windows build, whose C and C++ runtimes are not the
// native ones: the same three readers, timed with the steady clock (Google Benchmark is not
// built for Windows here). Prints the best of five passes of each, in MB/s.
#include "bench/quoteReaders.h"

#include <algorithm>
#include <chrono>

namespace {

using LineReaderFor = bool (*)(const std::string&, std::vector<std::wstring>&);

template <typename Read> double bestSeconds(Read read)
{
    double best = 1e9;
    for (int pass = 0; pass < 5; ++pass) {
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
        std::printf("%-18s failed\n", name);
    else
        std::printf("%-18s %8.1f ms %10.1f MB/s\n", name, seconds * 1000, bytes / seconds / 1e6);
}

}  // namespace

int main()
{
    const std::string path = "pacewordQuoteBenchmark.txt";
    const std::size_t size = writeBenchmarkQuoteFile(path);
    if (size == 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    auto lines = [&](LineReaderFor reader) {
        return [&, reader]() {
            std::vector<std::wstring> quotes;
            return reader(path, quotes) && quotes.size() == benchmarkQuoteCount;
        };
    };
    std::string buffer(size, '\0');
    report("ourReader", bestSeconds(lines(readWithOurReader)), size);
    report("wideStreamReader", bestSeconds(lines(readWithWideStream)), size);
    report("bareRead", bestSeconds([&]() { return readBare(path, buffer); }), size);
    std::remove(path.c_str());
    return 0;
}
