// The quote files of the loading benchmarks and the ways of reading them that they compare: the
// program's loader, the obvious wide-stream reader, and a bare read of the bytes.
#pragma once

#include "app/fileBytes.h"
#include "typing/quoteLibrary.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

constexpr std::size_t benchmarkQuoteCount = 500000;

// The same text in the three encodings the loader takes. The ASCII file has its few accented
// letters without their accents, so it is plain ASCII and is checked as UTF-8 to its end.
enum class BenchmarkFileForm { ascii, utf8, utf16 };

// Writes 500,000 lines of varied words, about 100 characters each, LF-ended: the same text on
// every run. Returns the file's size in bytes, 0 when it cannot be written.
inline std::size_t writeBenchmarkQuoteFile(const std::string& path, BenchmarkFileForm form)
{
    // Latin-1, so each character is one byte here; 0xE9 is 'é', 0xEF 'ï', 0xE7 'ç', 0xFC 'ü'.
    const char* const words[] = {"the",
                                 "quick",
                                 "brown",
                                 "fox",
                                 "jumps",
                                 "over",
                                 "lazy",
                                 "dog",
                                 "typing",
                                 "speed",
                                 "measure",
                                 "every",
                                 "keyboard",
                                 "letter",
                                 "sentence",
                                 "quietly",
                                 "after",
                                 "river",
                                 "mountain",
                                 "a",
                                 "of",
                                 "never",
                                 "patience",
                                 "winter",
                                 "light",
                                 "remember",
                                 "strong",
                                 "garden",
                                 "whisper",
                                 "number",
                                 "caf\xE9",
                                 "na\xEFve",
                                 "fa\xE7"
                                 "ade",
                                 "\xFC"
                                 "ber",
                                 "r\xE9sum\xE9"};
    const std::size_t wordCount = sizeof words / sizeof words[0];
    std::mt19937 engine(12345);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::string line;
    std::string encoded;
    std::size_t size = 0;
    if (form == BenchmarkFileForm::utf16)
        size += std::fwrite("\xFF\xFE", 1, 2, file);
    for (std::size_t i = 0; i < benchmarkQuoteCount; ++i) {
        line.clear();
        const std::size_t target = 90 + engine() % 20;
        while (line.size() < target) {
            line += words[engine() % wordCount];
            line += ' ';
        }
        line.back() = '.';
        line += '\n';
        encoded.clear();
        for (char c : line) {
            const unsigned char byte = static_cast<unsigned char>(c);
            if (form == BenchmarkFileForm::utf16) {
                encoded += c;
                encoded += '\0';
            } else if (byte < 0x80) {
                encoded += c;
            } else if (form == BenchmarkFileForm::ascii) {
                encoded += byte == 0xE9 ? 'e' : byte == 0xEF ? 'i' : byte == 0xE7 ? 'c' : 'u';
            } else {
                encoded += static_cast<char>(0xC0 | byte >> 6);
                encoded += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
        size += std::fwrite(encoded.data(), 1, encoded.size(), file);
    }
    return std::fclose(file) == 0 ? size : 0;
}

// The program's own loader: the whole file's bytes, then the line table over them.
inline bool readWithOurLoader(const std::string& path, QuoteLibrary& library)
{
    std::string bytes;
    if (!readFileBeginning(path.c_str(), maxQuoteFileBytes + 1, bytes))
        return false;
    library = makeQuoteLibrary(std::move(bytes));
    return quoteLineCount(library) == benchmarkQuoteCount;
}

inline bool readWithWideStream(const std::string& path, std::vector<std::wstring>& quotes)
{
    std::wifstream stream(path, std::ios::binary);
    std::wstring line;
    while (std::getline(stream, line))
        quotes.push_back(line);
    return !stream.bad() && quotes.size() == benchmarkQuoteCount;
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
