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
    // Line by line: UTF-8 where the line is valid UTF-8, else Windows' Western ANSI code page
    // (Latin-1, with 0x80..0x9F as that code page has them).
    utf8OrAnsi,
    utf16LittleEndian,
    utf16BigEndian,
};

// The quote file as read, kept whole, with where each line starts: a million quotes cost their
// bytes and four bytes each, not a million strings. A line is decoded only when it is picked.
struct QuoteLibrary {
    std::string bytes;
    QuoteEncoding encoding = QuoteEncoding::utf8OrAnsi;
    // Offset in `bytes` of each line's first byte, then one more entry: where a line after the
    // last would start. Offsets fit 32 bits because larger files are not read (maxQuoteFileBytes).
    std::vector<uint32_t> lineStarts;
};

// Quote files are read up to 2 GB: every offset then fits 32 bits and every line index fits the
// signed 32-bit quote index. A larger file is read up to its last whole line within that.
constexpr std::size_t maxQuoteFileBytes = 0x7FFFFF00;

// The longest quote that is typed, in UTF-16 units: DirectWrite's cluster maps count in 16 bits,
// so a longer text cannot be laid out. Longer lines are skipped like empty ones.
constexpr std::size_t longestQuote = 65536;

// A UTF-16 byte-order mark (FF FE, FE FF) makes the file UTF-16; any other file is read line by
// line, each line as UTF-8 when it is valid UTF-8 and as ANSI when it is not. The choice is made
// when a line is decoded, so a large file is not checked as a whole at start-up.
QuoteEncoding detectQuoteEncoding(const char* bytes, std::size_t count);

// True when `bytes` is well-formed UTF-8: no stray continuation byte, no overlong form, no
// encoded surrogate and nothing past U+10FFFF.
bool isValidUtf8(const char* bytes, std::size_t count);

// Takes over the file's bytes and finds their encoding and lines. A byte-order mark is not part
// of the first line. LF, CR LF and a lone CR each end a line; a last line without a line end
// counts, a single final line end adds no empty line. Bytes past maxQuoteFileBytes (a larger
// file's beginning is read one byte further) are dropped with the line they cut.
QuoteLibrary makeQuoteLibrary(std::string bytes);

std::size_t quoteLineCount(const QuoteLibrary& library);

// True when a decoded line can be typed: 1 to longestQuote units, something besides blanks and
// tabs, no control character other than the tab (C0, DEL, C1), no unpaired UTF-16 surrogate and
// a last word that some key types (not only invisible characters).
bool isTypableText(const std::wstring& text);

// True when line `index` decodes to a typable text.
bool isTypableQuote(const QuoteLibrary& library, std::size_t index);

// Line `index` as UTF-16 units, without the terminal colour and formatting sequences it holds
// (ECMA-48 control sequences such as ESC[32m, IRC's ^B ^C ^O ^R ^_ codes): they are typed and
// drawn as nothing. The empty string for a line that is not typable, so an over-long line is
// never laid out.
std::wstring decodeQuoteLine(const QuoteLibrary& library, std::size_t index);

// UTF-8 to UTF-16 through the platform's converter (quoteLibraryWindows.cpp, quoteLibraryPosix.cpp).
// False, with `text` unspecified, when `bytes` is not valid UTF-8.
bool convertUtf8ToUtf16(const char* bytes, std::size_t count, std::wstring& text);

// The quote as it is laid out and drawn: a tab is drawn as the blank that types it, one unit for
// one, so every range of the quote stays where it is.
std::wstring drawnQuoteText(const std::wstring& quote);

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

// What start-up says when there is no quote to type: where quotes.txt is looked for (`folder`)
// and why it gave none. A file of `lineCount` lines (0 when it could not be read) that has lines
// is said to have them, none of which can be typed.
std::wstring noQuotesMessage(const std::wstring& folder, std::size_t lineCount);
