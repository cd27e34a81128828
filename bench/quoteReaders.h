// The quote file of the loading benchmarks and the three ways of reading it that they compare:
// our reader, the obvious wide-stream reader, and a bare read of the bytes.
#pragma once

#include "typing/quoteText.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

constexpr std::size_t benchmarkQuoteCount = 500000;

// Writes 500,000 lines of varied words, about 100 bytes each, LF-ended: the same file on every
// run. Returns its size in bytes, 0 when it cannot be written.
inline std::size_t writeBenchmarkQuoteFile(const std::string& path)
{
    const char* const words[] = {
        "the",     "quick", "brown",    "fox",    "jumps",    "over",     "lazy",   "dog",    "typing",   "speed",
        "measure", "every", "keyboard", "letter", "sentence", "quietly",  "after",  "river",  "mountain", "a",
        "of",      "never", "patience", "winter", "light",    "remember", "strong", "garden", "whisper",  "number"};
    const std::size_t wordCount = sizeof words / sizeof words[0];
    std::mt19937 engine(12345);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::string line;
    std::size_t size = 0;
    for (std::size_t i = 0; i < benchmarkQuoteCount; ++i) {
        line.clear();
        const std::size_t target = 90 + engine() % 20;
        while (line.size() < target) {
            line += words[engine() % wordCount];
            line += ' ';
        }
        line.back() = '.';
        line += '\n';
        size += std::fwrite(line.data(), 1, line.size(), file);
    }
    return std::fclose(file) == 0 ? size : 0;
}

// The program's own reader: the whole file's bytes, then the lines widened from them.
inline bool readWithOurReader(const std::string& path, std::vector<std::wstring>& quotes)
{
    std::string bytes;
    if (!readFileBytes(path.c_str(), bytes))
        return false;
    appendQuoteLines(bytes.data(), bytes.size(), quotes);
    return true;
}

inline bool readWithWideStream(const std::string& path, std::vector<std::wstring>& quotes)
{
    std::wifstream stream(path, std::ios::binary);
    std::wstring line;
    while (std::getline(stream, line))
        quotes.push_back(line);
    return !stream.bad();
}

// The floor: the file's bytes into a buffer that already exists, nothing more.
inline bool readBare(const std::string& path, std::string& buffer)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    const std::size_t got = std::fread(&buffer[0], 1, buffer.size(), file);
    std::fclose(file);
    return got == buffer.size();
}
