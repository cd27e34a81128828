#include "typing/quoteLibrary.h"

#include "typing/typedText.h"

#include <algorithm>

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

// The offset of the first unit `value` (LF or CR) at or after `from` (a unit boundary), or
// body.end.
std::size_t findUnit(const QuoteLibrary& library, const TextBody& body, std::size_t from, char value)
{
    const char* const bytes = library.bytes.data();
    // The byte of the unit that holds `value`: the first in little-endian order, the second in
    // big-endian. memchr finds candidates fast; one that is not that byte of a unit 0x000A or
    // 0x000D is part of another character.
    const std::size_t lowByte = library.encoding == QuoteEncoding::utf16BigEndian ? 1 : 0;
    std::size_t position = from + lowByte;
    while (position < body.end) {
        const void* found = std::memchr(bytes + position, value, body.end - position);
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

// Calls `visit` with the start of every line, then with the end entry. LF, CR LF and a lone CR
// (classic Mac line ends, or a file cut after its last CR) each end a line. The next LF and the
// next CR are each searched for once and kept until passed, so a file without CRs is scanned
// for them only once.
template <typename Visit> void forEachLineStart(const QuoteLibrary& library, Visit visit)
{
    const TextBody body = bodyOf(library);
    const std::size_t unit = body.unitBytes;
    std::size_t start = body.begin;
    std::size_t nextLineFeed = findUnit(library, body, start, '\n');
    std::size_t nextReturn = findUnit(library, body, start, '\r');
    while (start < body.end) {
        visit(start);
        if (nextLineFeed < start)
            nextLineFeed = findUnit(library, body, start, '\n');
        if (nextReturn < start)
            nextReturn = findUnit(library, body, start, '\r');
        if (nextReturn < nextLineFeed)
            start = nextReturn + (nextReturn + unit == nextLineFeed && nextLineFeed < body.end ? 2 * unit : unit);
        else
            start = nextLineFeed + unit;
    }
    // Right after a final line end this is body.end; after a last line without one, a unit
    // further, so the last line's end is found the same way in both cases.
    visit(start);
}

struct ByteRange {
    std::size_t begin;
    std::size_t count;
};

bool isUnit(const QuoteLibrary& library, std::size_t at, char value)
{
    const char* const unit = library.bytes.data() + at;
    switch (library.encoding) {
    case QuoteEncoding::utf16LittleEndian:
        return unit[0] == value && unit[1] == '\0';
    case QuoteEncoding::utf16BigEndian:
        return unit[0] == '\0' && unit[1] == value;
    default:
        return unit[0] == value;
    }
}

// The bytes of line `index` without its line end (LF, CR LF or CR).
ByteRange lineBytes(const QuoteLibrary& library, std::size_t index)
{
    const TextBody body = bodyOf(library);
    const std::size_t unit = body.unitBytes;
    const std::size_t begin = library.lineStarts[index];
    std::size_t end = library.lineStarts[index + 1] - unit;
    // A CR directly before the LF that ended the line is part of that line end: a CR anywhere
    // in the line would have ended it.
    if (end < body.end && isUnit(library, end, '\n') && end - begin >= unit && isUnit(library, end - unit, '\r'))
        end -= unit;
    return {begin, end - begin};
}

// The UTF-16 unit whose two bytes start at `bytes`.
uint32_t utf16UnitAt(const unsigned char* bytes, QuoteEncoding encoding)
{
    return encoding == QuoteEncoding::utf16BigEndian ? uint32_t(bytes[0]) << 8 | bytes[1]
                                                     : uint32_t(bytes[1]) << 8 | bytes[0];
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

// The line's text as it reads: UTF-16 units in a UTF-16 file; otherwise UTF-8 when the line is
// valid UTF-8 and one byte a character (ANSI) when it is not, so that one line saved by another
// editor garbles nothing but itself.
std::wstring decodeLineText(const QuoteLibrary& library, const ByteRange& range)
{
    // Through unsigned char, so bytes 0x80..0xFF become U+0080..U+00FF and not negative.
    const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(library.bytes.data()) + range.begin;
    std::wstring text;
    if (isUtf16(library.encoding)) {
        text.resize(range.count / 2);
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<wchar_t>(utf16UnitAt(bytes + 2 * i, library.encoding));
        return text;
    }
    const char* const chars = reinterpret_cast<const char*>(bytes);
    // Were the platform's converter to disagree with the check, the line still reads as ANSI.
    if (isValidUtf8(chars, range.count) && convertUtf8ToUtf16(chars, range.count, text))
        return text;
    text.resize(range.count);
    for (std::size_t i = 0; i < range.count; ++i)
        text[i] = decodeAnsiByte(bytes[i]);
    return text;
}

// No key types a control character (a backspace or bell of an old overstrike, DEL, the C1
// codes), and it draws as nothing: its line is never picked. A tab is typed with the blank.
bool isControlCharacter(wchar_t unit)
{
    return (unit < 0x20 && unit != L'\t') || (unit >= 0x7F && unit <= 0x9F);
}

bool isDigit(wchar_t unit)
{
    return unit >= L'0' && unit <= L'9';
}

// The length of the terminal formatting sequence at `at`, or 0. Fortune files made for terminals
// colour their lines with ECMA-48 control sequences (ESC [, parameter bytes 0x30-0x3F,
// intermediate bytes 0x20-0x2F, a final byte 0x40-0x7E, as in ESC[32m and ESC[0;1m), and chat
// logs carry IRC's codes: bold ^B, colour ^C with up to two digits and a comma and up to two
// more, reset ^O, reverse ^R and underline ^_. An ESC that starts no whole sequence is 0.
std::size_t formattingSequenceLength(const std::wstring& text, std::size_t at)
{
    const wchar_t unit = text[at];
    std::size_t end = at + 1;
    if (unit == 0x1B) {
        if (end == text.size() || text[end] != L'[')
            return 0;
        ++end;
        while (end < text.size() && text[end] >= 0x30 && text[end] <= 0x3F)
            ++end;
        while (end < text.size() && text[end] >= 0x20 && text[end] <= 0x2F)
            ++end;
        return end < text.size() && text[end] >= 0x40 && text[end] <= 0x7E ? end + 1 - at : 0;
    }
    if (unit == 0x03) {
        const auto twoDigits = [&text](std::size_t from) {
            std::size_t to = from;
            while (to < text.size() && to < from + 2 && isDigit(text[to]))
                ++to;
            return to;
        };
        end = twoDigits(end);
        // A comma belongs to the colour only with a background digit after it.
        if (end > at + 1 && end + 1 < text.size() && text[end] == L',' && isDigit(text[end + 1]))
            end = twoDigits(end + 1);
        return end - at;
    }
    return unit == 0x02 || unit == 0x0F || unit == 0x12 || unit == 0x1F ? 1 : 0;
}

// A terminal shows the formatting sequences as colours and styles, never as characters: no key
// types them and they draw nothing, so they leave the quote. One pass from left to right: what
// stands on either side of a removed sequence is not read again as a sequence.
void removeFormattingSequences(std::wstring& text)
{
    const auto isSequenceStart = [](wchar_t unit) {
        return unit == 0x1B || unit == 0x02 || unit == 0x03 || unit == 0x0F || unit == 0x12 || unit == 0x1F;
    };
    std::size_t kept = static_cast<std::size_t>(std::find_if(text.begin(), text.end(), isSequenceStart) - text.begin());
    for (std::size_t at = kept; at < text.size();) {
        const std::size_t length = isSequenceStart(text[at]) ? formattingSequenceLength(text, at) : 0;
        if (length > 0) {
            at += length;
        } else {
            text[kept++] = text[at++];
        }
    }
    text.resize(kept);
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
    return QuoteEncoding::utf8OrAnsi;
}

QuoteLibrary makeQuoteLibrary(std::string bytes)
{
    QuoteLibrary library;
    const bool cut = bytes.size() > maxQuoteFileBytes;
    if (cut)
        bytes.resize(maxQuoteFileBytes);
    library.encoding = detectQuoteEncoding(bytes.data(), bytes.size());
    library.bytes = std::move(bytes);
    // Counted first, so the table is sized once: grown by doubling it could hold twice the room.
    std::size_t entries = 0;
    forEachLineStart(library, [&entries](std::size_t) { ++entries; });
    library.lineStarts.reserve(entries);
    forEachLineStart(library,
                     [&library](std::size_t start) { library.lineStarts.push_back(static_cast<uint32_t>(start)); });
    // The line the limit cut has no line end of its own: it goes, and where it started is where
    // a line after the last would start.
    if (cut && library.lineStarts.back() > bodyOf(library).end) {
        library.lineStarts.pop_back();
        // The rest of the limit may be nearly all of it (a quote, then gigabytes without a line
        // end): that part is given back when it is the larger half, so the copy costs less.
        const std::size_t kept = library.lineStarts.back();
        if (kept < library.bytes.size() / 2) {
            library.bytes.resize(kept);
            library.bytes.shrink_to_fit();
        }
    }
    return library;
}

std::size_t quoteLineCount(const QuoteLibrary& library)
{
    return library.lineStarts.empty() ? 0 : library.lineStarts.size() - 1;
}

bool isTypableText(const std::wstring& text)
{
    if (text.empty() || text.size() > longestQuote || text.find_first_not_of(L" \t") == std::wstring::npos)
        return false;
    // Every word but the last ends with a blank that a key types; a last word of only invisible
    // characters (a zero-width space after the final blank) could never be finished.
    const std::size_t lastBlank = text.rfind(L' ');
    const std::size_t lastWord = lastBlank == std::wstring::npos ? 0 : lastBlank + 1;
    if (lastWord < text.size() &&
        std::all_of(text.begin() + static_cast<std::ptrdiff_t>(lastWord), text.end(), [](wchar_t unit) {
            std::wstring_view keys;
            return keysForCharacter(unit, keys) && keys.empty();
        }))
        return false;
    bool leadingHalfBefore = false;
    for (const wchar_t unit : text) {
        if (isControlCharacter(unit))
            return false;
        const bool leadingHalf = unit >= 0xD800 && unit <= 0xDBFF;
        const bool trailingHalf = unit >= 0xDC00 && unit <= 0xDFFF;
        if (trailingHalf != leadingHalfBefore)
            return false;
        leadingHalfBefore = leadingHalf;
    }
    return !leadingHalfBefore;
}

bool isTypableQuote(const QuoteLibrary& library, std::size_t index)
{
    return !decodeQuoteLine(library, index).empty();
}

std::wstring decodeQuoteLine(const QuoteLibrary& library, std::size_t index)
{
    const ByteRange range = lineBytes(library, index);
    // No encoding gives fewer units than a third of the bytes (three-byte UTF-8 characters), so
    // a line past that is over-long without being decoded.
    if (range.count > 3 * longestQuote)
        return std::wstring();
    std::wstring text = decodeLineText(library, range);
    // The limit holds for the line as the file has it, formatting sequences included.
    if (text.size() > longestQuote)
        return std::wstring();
    removeFormattingSequences(text);
    if (!isTypableText(text))
        text.clear();
    return text;
}

std::wstring drawnQuoteText(const std::wstring& quote)
{
    std::wstring drawn = quote;
    for (wchar_t& unit : drawn) {
        if (unit == L'\t')
            unit = L' ';
    }
    return drawn;
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

std::wstring noQuotesMessage(const std::wstring& folder, std::size_t lineCount)
{
    std::wstring count = std::to_wstring(lineCount);
    for (std::size_t digits = count.size(); digits > 3; digits -= 3)
        count.insert(digits - 3, 1, L',');
    const std::wstring why = lineCount == 0   ? L"That file is missing, unreadable or empty."
                             : lineCount == 1 ? L"That file holds one line, and it cannot be typed"
                                              : L"That file holds " + count + L" lines, and none of them can be typed";
    return L"No quotes to type.\n\nPaceword reads its quotes from quotes.txt in the folder it runs in:\n" + folder +
           L"\n\n" + why +
           (lineCount == 0 ? L""
                           : L": a line is skipped when it is blank, longer than 65,536 characters or holds a "
                             L"control character no key types.") +
           L" Put at least one line of text in it (one quote per line) and start Paceword again.";
}
