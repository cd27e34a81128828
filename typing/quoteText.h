// Quote library logic that needs no Windows API: turning the bytes of the quote file into
// lines, cutting a quote into words, the underline rule and the random pick.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Reads the whole file at `path` into `bytes`. Returns false, with `bytes` empty, when the file
// cannot be opened or read, or is too large to hold in memory.
bool readFileBytes(const char* path, std::string& bytes);

// Appends one line per LF-ended line of `bytes` to `lines`; a last line without LF counts too,
// a single final LF adds no empty line. Each byte becomes the UTF-16 unit of the same value;
// a CR is dropped only directly before an LF.
void appendQuoteLines(const char* bytes, std::size_t count, std::vector<std::wstring>& lines);

// Appends the words of `quote` to `words`: the quote cut after every blank (U+0020), each word
// but the last keeping its blank. Joined, the words give the quote back; no word is empty.
void splitQuoteIntoWords(const std::wstring& quote, std::vector<std::wstring>& words);

// How much of the word at `wordIndex` is underlined: the word less its trailing blank, or the
// whole word when it is the last one. 0 when there is no such word.
int32_t underlineLengthFor(const std::vector<std::wstring>& words, std::size_t wordIndex);

// True when at least one quote has a character to type.
bool hasTypableQuote(const std::vector<std::wstring>& quotes);

// The index of a random non-empty quote: the engine's next output modulo the number of quotes,
// drawn again while it lands on an empty quote. Needs hasTypableQuote(quotes).
int32_t pickQuoteIndex(std::mt19937& engine, const std::vector<std::wstring>& quotes);
