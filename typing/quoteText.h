// Quote library logic that needs no Windows API: finding the encoding and the lines of the
// quote file, decoding one line, cutting a quote into words, the underline rule and the
// random pick.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// How the bytes of the quote file become UTF-16 units.
enum class QuoteEncoding {
    singleByte,  // Windows' Western ANSI code page: Latin-1, with 0x80..0x9F as that code page has them
    utf8,
    utf16LittleEndian,
    utf16BigEndian,
};

// The quote file as read, kept whole, with where each line starts: a million quotes cost their
// bytes and four bytes each, not a million strings. A line is decoded only when it is picked.
struct QuoteLibrary {
    std::string bytes;
    QuoteEncoding encoding = QuoteEncoding::singleByte;
    // Offset in `bytes` of each line's first byte, then one more entry: where a line after the
    // last would start. Offsets fit 32 bits because larger files are not read (maxQuoteFileBytes).
    std::vector<uint32_t> lineStarts;
};

// Quote files are read up to 2 GB: every offset then fits 32 bits and every line index fits the
// signed 32-bit quote index.
constexpr std::size_t maxQuoteFileBytes = 0x7FFFFF00;

// The longest quote that is typed, in UTF-16 units: DirectWrite's cluster maps count in 16 bits,
// so a longer text cannot be laid out. Longer lines are skipped like empty ones.
constexpr std::size_t longestQuote = 65536;

// A UTF-16 byte-order mark (FF FE, FE FF) decides first; otherwise a file whose bytes are all
// valid UTF-8 (with or without its mark EF BB BF) is UTF-8; anything else is one byte a unit.
QuoteEncoding detectQuoteEncoding(const char* bytes, std::size_t count);

// True when `bytes` is well-formed UTF-8: no stray continuation byte, no overlong form, no
// encoded surrogate and nothing past U+10FFFF.
bool isValidUtf8(const char* bytes, std::size_t count);

// Takes over the file's bytes and finds their encoding and lines. A byte-order mark is not part
// of the first line, whatever the encoding the bytes after it are read in. LF ends a line and a CR directly before it
// is dropped; a last line without LF counts, a single final LF adds no empty line. A file over maxQuoteFileBytes has no
// lines.
QuoteLibrary makeQuoteLibrary(std::string bytes);

std::size_t quoteLineCount(const QuoteLibrary& library);

// True when line `index` can be typed: 1 to longestQuote units, something besides blanks and
// tabs, and no unpaired UTF-16 surrogate.
bool isTypableQuote(const QuoteLibrary& library, std::size_t index);

// Line `index` as UTF-16 units, one byte a unit in a single-byte file; the empty string for a
// line that is not typable, so an over-long line is never decoded nor laid out.
std::wstring decodeQuoteLine(const QuoteLibrary& library, std::size_t index);

// UTF-8 to UTF-16 through the platform's converter (quoteTextWindows.cpp, quoteTextPosix.cpp).
// False, with `text` unspecified, when `bytes` is not valid UTF-8.
bool convertUtf8ToUtf16(const char* bytes, std::size_t count, std::wstring& text);

// Appends the words of `quote` to `words`: the quote cut after every blank (U+0020), each word
// but the last keeping its blank. Joined, the words give the quote back; no word is empty.
void splitQuoteIntoWords(const std::wstring& quote, std::vector<std::wstring>& words);

// How much of the word at `wordIndex` is underlined: the word less its trailing blank, or the
// whole word when it is the last one. 0 when there is no such word.
int32_t underlineLengthFor(const std::vector<std::wstring>& words, std::size_t wordIndex);

// True when at least one line is typable.
bool hasTypableQuote(const QuoteLibrary& library);

// The index of a random typable line: the engine's next output modulo the number of lines,
// drawn again while it lands on a line that is not typable. Needs hasTypableQuote(library).
int32_t pickQuoteIndex(std::mt19937& engine, const QuoteLibrary& library);
