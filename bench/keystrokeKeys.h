// The keys both keystroke benchmarks type, and how they print what they measured: the same
// quote with the same mistakes, so that the figures of the two can be set side by side.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// 300 characters of ordinary prose.
inline const char benchmarkQuote[] =
    "Speed grows out of accuracy rather than haste: a clean word typed calmly beats three rushed words "
    "fixed twice. Keep the wrists light and the shoulders loose, let each finger return home after every "
    "key, and read a little ahead of your hands so that the next word is ready before the last one ends here.";

// The quote repeated to about `length` characters (PACEWORD_QUOTE_LENGTH, when set), ending at the
// end of a copy: what a key costs in a long quote.
inline std::string benchmarkQuoteOfLength(const char* length)
{
    const size_t wanted = length ? static_cast<size_t>(std::strtoul(length, nullptr, 10)) : 0;
    std::string quote = benchmarkQuote;
    while (quote.size() < wanted)
        quote += std::string(" ") + benchmarkQuote;
    return quote;
}

enum KeyKind { letter, completingBlank, wrongLetter, correctingBackspace, lastKey, kindCount };
inline const char* const kindNames[kindCount] = {"letter", "word-completing blank", "wrong letter (frame shows)",
                                                 "correcting Backspace (frame goes)", "last key (results screen)"};

struct Key {
    wchar_t character;
    KeyKind kind;
};

// The quote's keys in order; every fourth word gets a wrong letter after its second letter,
// taken back at once with Backspace.
inline std::vector<Key> keysFor(const std::string& quote)
{
    std::vector<Key> keys;
    int wordNumber = 0;
    size_t inWord = 0;
    for (size_t i = 0; i < quote.size(); ++i) {
        const wchar_t c = static_cast<unsigned char>(quote[i]);
        if (inWord == 2 && wordNumber % 4 == 1) {
            keys.push_back({L'#', wrongLetter});
            keys.push_back({L'\b', correctingBackspace});
        }
        KeyKind kind = i + 1 == quote.size() ? lastKey : c == L' ' ? completingBlank : letter;
        keys.push_back({c, kind});
        if (c == L' ') {
            ++wordNumber;
            inWord = 0;
        } else {
            ++inWord;
        }
    }
    return keys;
}

// Nearest-rank percentile of sorted figures.
inline double percentile(const std::vector<double>& sorted, double fraction)
{
    size_t rank = static_cast<size_t>(fraction * static_cast<double>(sorted.size()) + 0.999999);
    return sorted[std::min(sorted.size(), std::max<size_t>(rank, 1)) - 1];
}

// One line per kind of key: count, median, p90, p99 and max, in milliseconds.
inline void printFigures(std::vector<double> (&figures)[kindCount])
{
    std::printf("%-36s %6s %8s %8s %8s %8s  (ms)\n", "key", "count", "median", "p90", "p99", "max");
    for (int kind = 0; kind < kindCount; ++kind) {
        std::vector<double>& sorted = figures[kind];
        if (sorted.empty())
            continue;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-36s %6zu %8.2f %8.2f %8.2f %8.2f\n", kindNames[kind], sorted.size(), percentile(sorted, 0.5),
                    percentile(sorted, 0.9), percentile(sorted, 0.99), sorted.back());
    }
}
