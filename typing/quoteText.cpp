#include "typing/quoteText.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

bool isUtf16(QuoteEncoding encoding)
{
    return encoding == QuoteEncoding::utf16LittleEndian || encoding == QuoteEncoding::utf16BigEndian;
}

std::size_t byteOrderMarkLength(const std::string& bytes, QuoteEncoding encoding)
{
    if (isUtf16(encoding))
        return 2;
    // A UTF-8 mark goes even when bytes after it are not UTF-8 and the file is read one byte a
    // character: its three characters would stand untypable before the first word.
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return 3;
    return 0;
}

// Where the lines lie: after the mark, and for UTF-16 up to the last whole unit (an odd last
// byte is half a character and is dropped).
struct TextBody {
    std::size_t begin;
    std::size_t end;
    std::size_t unitBytes;
};

TextBody bodyOf(const QuoteLibrary& library)
{
    const std::size_t begin = byteOrderMarkLength(library.bytes, library.encoding);
    if (isUtf16(library.encoding))
        return {begin, begin + ((library.bytes.size() - begin) & ~std::size_t(1)), 2};
    return {begin, library.bytes.size(), 1};
}

// The offset of the first LF unit at or after `from` (a unit boundary), or body.end.
std::size_t findLineFeed(const QuoteLibrary& library, const TextBody& body, std::size_t from)
{
    const char* const bytes = library.bytes.data();
    // The byte of an LF unit that holds 0x0A: the first in little-endian order, the second in
    // big-endian. memchr finds candidates fast; one that is not that byte of a unit 0x000A is
    // part of another character.
    const std::size_t lowByte = library.encoding == QuoteEncoding::utf16BigEndian ? 1 : 0;
    std::size_t position = from + lowByte;
    while (position < body.end) {
        const void* found = std::memchr(bytes + position, '\n', body.end - position);
        if (found == nullptr)
            break;
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - bytes);
        if (body.unitBytes == 1)
            return at;
        const std::size_t unitStart = at - lowByte;
        if ((unitStart - body.begin) % 2 == 0 && bytes[unitStart + 1 - lowByte] == '\0')
            return unitStart;
        position = at + 1;
    }
    return body.end;
}

// Calls `visit` with the start of every line, then with the end entry.
template <typename Visit> void forEachLineStart(const QuoteLibrary& library, Visit visit)
{
    const TextBody body = bodyOf(library);
    std::size_t start = body.begin;
    while (start < body.end) {
        visit(start);
        start = findLineFeed(library, body, start) + body.unitBytes;
    }
    // Right after a final LF this is body.end; after a last line without one, a unit further,
    // so the last line's end is found the same way in both cases.
    visit(start);
}

struct ByteRange {
    std::size_t begin;
    std::size_t count;
};

bool isCarriageReturn(const QuoteLibrary& library, std::size_t at)
{
    const char* const unit = library.bytes.data() + at;
    switch (library.encoding) {
    case QuoteEncoding::utf16LittleEndian:
        return unit[0] == '\r' && unit[1] == '\0';
    case QuoteEncoding::utf16BigEndian:
        return unit[0] == '\0' && unit[1] == '\r';
    default:
        return unit[0] == '\r';
    }
}

// The bytes of line `index` without its LF and without a CR directly before that LF.
ByteRange lineBytes(const QuoteLibrary& library, std::size_t index)
{
    const TextBody body = bodyOf(library);
    const std::size_t begin = library.lineStarts[index];
    std::size_t end = library.lineStarts[index + 1] - body.unitBytes;
    // Only a line that an LF ended can lose a CR: one at the very end of the file stays.
    if (end < body.end && end - begin >= body.unitBytes && isCarriageReturn(library, end - body.unitBytes))
        end -= body.unitBytes;
    return {begin, end - begin};
}

// The UTF-16 unit whose two bytes start at `bytes`.
uint32_t utf16UnitAt(const unsigned char* bytes, QuoteEncoding encoding)
{
    return encoding == QuoteEncoding::utf16BigEndian ? uint32_t(bytes[0]) << 8 | bytes[1]
                                                     : uint32_t(bytes[1]) << 8 | bytes[0];
}

// True when the line has something to type: a character other than blanks and tabs (a line of
// only those shows nothing), and no half of a UTF-16 surrogate pair without its other half (no
// key types one alone). Valid UTF-8 holds no surrogates, and a single byte is never one.
bool holdsTextToType(const QuoteLibrary& library, const ByteRange& range)
{
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(library.bytes.data()) + range.begin;
    if (!isUtf16(library.encoding)) {
        for (std::size_t i = 0; i < range.count; ++i) {
            if (bytes[i] != ' ' && bytes[i] != '\t')
                return true;
        }
        return false;
    }
    bool text = false;
    bool leadingHalfBefore = false;
    for (std::size_t i = 0; i + 1 < range.count; i += 2) {
        const uint32_t unit = utf16UnitAt(bytes + i, library.encoding);
        const bool leadingHalf = unit >= 0xD800 && unit <= 0xDBFF;
        const bool trailingHalf = unit >= 0xDC00 && unit <= 0xDFFF;
        if (trailingHalf != leadingHalfBefore)
            return false;
        leadingHalfBefore = leadingHalf;
        text = text || (unit != ' ' && unit != '\t');
    }
    return text && !leadingHalfBefore;
}

// Windows' Western (ANSI) code page puts punctuation, the euro sign and a few letters on the
// bytes 0x80 to 0x9F, where Latin-1 has invisible control characters that no key types. The five
// bytes the code page leaves undefined keep their Latin-1 value.
const wchar_t windowsWesternHighBytes[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

wchar_t decodeAnsiByte(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? windowsWesternHighBytes[byte - 0x80] : static_cast<wchar_t>(byte);
}

// UTF-16 units of valid UTF-8: one per character, two for a character past U+FFFF (4 bytes).
std::size_t utf8UnitCount(const unsigned char* bytes, std::size_t count)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < count; ++i)
        units += (bytes[i] & 0xC0) != 0x80 ? (bytes[i] >= 0xF0 ? 2 : 1) : 0;
    return units;
}

}  // namespace

bool isValidUtf8(const char* text, std::size_t count)
{
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < count) {
        // Quotes are mostly ASCII: eight bytes at once while none has its high bit set.
        while (i + 8 <= count) {
            uint64_t eight = 0;
            std::memcpy(&eight, bytes + i, 8);
            if ((eight & 0x8080808080808080u) != 0)
                break;
            i += 8;
        }
        if (i >= count)
            break;
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The well-formed sequences: the lead fixes the length and the range of the second
        // byte (which rules out overlong forms, surrogates and code points past U+10FFFF).
        std::size_t length = 0;
        unsigned char secondLow = 0x80;
        unsigned char secondHigh = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                secondLow = 0xA0;
            else if (lead == 0xED)
                secondHigh = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                secondLow = 0x90;
            else if (lead == 0xF4)
                secondHigh = 0x8F;
        } else {
            return false;
        }
        if (count - i < length || bytes[i + 1] < secondLow || bytes[i + 1] > secondHigh)
            return false;
        for (std::size_t k = 2; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

QuoteEncoding detectQuoteEncoding(const char* bytes, std::size_t count)
{
    if (count >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return QuoteEncoding::utf16LittleEndian;
    if (count >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return QuoteEncoding::utf16BigEndian;
    // A lone accented byte of an ANSI file (0xE9 for 'é') is not valid UTF-8, so ANSI files
    // keep reading as they always did; pure ASCII reads the same either way.
    return isValidUtf8(bytes, count) ? QuoteEncoding::utf8 : QuoteEncoding::singleByte;
}

QuoteLibrary makeQuoteLibrary(std::string bytes)
{
    QuoteLibrary library;
    if (bytes.size() > maxQuoteFileBytes)
        return library;
    library.encoding = detectQuoteEncoding(bytes.data(), bytes.size());
    library.bytes = std::move(bytes);
    // Counted first, so the table is sized once: grown by doubling it could hold twice the room.
    std::size_t entries = 0;
    forEachLineStart(library, [&entries](std::size_t) { ++entries; });
    library.lineStarts.reserve(entries);
    forEachLineStart(library,
                     [&library](std::size_t start) { library.lineStarts.push_back(static_cast<uint32_t>(start)); });
    return library;
}

std::size_t quoteLineCount(const QuoteLibrary& library)
{
    return library.lineStarts.empty() ? 0 : library.lineStarts.size() - 1;
}

bool isTypableQuote(const QuoteLibrary& library, std::size_t index)
{
    const ByteRange range = lineBytes(library, index);
    bool fits = false;
    switch (library.encoding) {
    case QuoteEncoding::singleByte:
        fits = range.count <= longestQuote;
        break;
    case QuoteEncoding::utf8:
        // A UTF-8 character takes at most three bytes per unit: only lines in between are
        // counted.
        fits = range.count <= longestQuote ||
               (range.count <= 3 * longestQuote &&
                utf8UnitCount(reinterpret_cast<const unsigned char*>(library.bytes.data()) + range.begin,
                              range.count) <= longestQuote);
        break;
    default:
        fits = range.count / 2 <= longestQuote;
        break;
    }
    return range.count > 0 && fits && holdsTextToType(library, range);
}

std::wstring decodeQuoteLine(const QuoteLibrary& library, std::size_t index)
{
    if (!isTypableQuote(library, index))
        return std::wstring();
    const ByteRange range = lineBytes(library, index);
    // Through unsigned char, so bytes 0x80..0xFF become U+0080..U+00FF and not negative.
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(library.bytes.data()) + range.begin;
    std::wstring text;
    switch (library.encoding) {
    case QuoteEncoding::utf16LittleEndian:
    case QuoteEncoding::utf16BigEndian: {
        text.resize(range.count / 2);
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(utf16UnitAt(bytes + 2 * i, library.encoding));
        return text;
    }
    case QuoteEncoding::utf8:
        // The whole file was checked as UTF-8, so the converter cannot fail here; were it to
        // disagree with that check, the line is still shown, one byte a character.
        if (convertUtf8ToUtf16(reinterpret_cast<const char*>(bytes), range.count, text))
            return text;
        break;
    default:
        break;
    }
    text.resize(range.count);
    for (std::size_t i = 0; i < range.count; ++i)
        text[i] = decodeAnsiByte(bytes[i]);
    return text;
}

void splitQuoteIntoWords(const std::wstring& quote, std::vector<std::wstring>& words)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = quote.find(L' ', start);
        if (blank == std::wstring::npos) {
            break;
        }
        words.push_back(quote.substr(start, blank - start + 1));
        start = blank + 1;
    }
    if (start < quote.size()) {
        words.push_back(quote.substr(start));
    }
}

int32_t underlineLengthFor(const std::vector<std::wstring>& words, std::size_t wordIndex)
{
    if (wordIndex >= words.size()) {
        return 0;
    }
    const std::size_t length = words[wordIndex].size();
    // Every word but the last ends with its blank, which is not underlined.
    if (wordIndex + 1 < words.size()) {
        return static_cast<int32_t>(length - 1);
    }
    return static_cast<int32_t>(length);
}

bool hasTypableQuote(const QuoteLibrary& library)
{
    const std::size_t count = quoteLineCount(library);
    for (std::size_t index = 0; index < count; ++index) {
        if (isTypableQuote(library, index))
            return true;
    }
    return false;
}

int32_t pickQuoteIndex(std::mt19937& engine, const QuoteLibrary& library)
{
    const uint64_t count = quoteLineCount(library);
    std::size_t index = 0;
    do {
        index = static_cast<std::size_t>(static_cast<uint64_t>(engine()) % count);
    } while (!isTypableQuote(library, index));
    return static_cast<int32_t>(index);
}
