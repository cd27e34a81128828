// Fuzzes the quote library's logic: the file's encoding and lines, decoding a line, the pick, a
// quote into words, the underline and the comparison of typed text. An input is the bytes of a
// quotes.txt.
#include "typing/quoteText.h"
#include "typing/typedText.h"

#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

// A byte of a file read one byte a character, through the C library's converter for Windows'
// Western code page; the bytes that code page leaves undefined keep their own value.
wchar_t ansiCharacter(unsigned char byte)
{
    static const iconv_t converter = iconv_open("UTF-16LE", "WINDOWS-1252");
    char in = static_cast<char>(byte);
    unsigned char out[4] = {};
    char* inPointer = &in;
    char* outPointer = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1, outLeft = sizeof out;
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1))
        return byte;
    return static_cast<wchar_t>(out[0] | out[1] << 8);
}

// The file's text as a reader with no line table would see it: a UTF-16 mark decides, then
// whether the platform's converter takes the whole file as UTF-8, else one byte a unit. A
// leading mark is never part of the text.
std::wstring wholeText(const std::string& bytes)
{
    std::wstring text;
    const bool littleEndian = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if (littleEndian || bigEndian) {
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned char first = static_cast<unsigned char>(bytes[i]);
            const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
            text += static_cast<wchar_t>(littleEndian ? first | second << 8 : second | first << 8);
        }
        return text;
    }
    if (convertUtf8ToUtf16(bytes.data(), bytes.size(), text)) {
        require(detectQuoteEncoding(bytes.data(), bytes.size()) == QuoteEncoding::utf8,
                "what the converter takes as UTF-8 is read as UTF-8");
        if (!text.empty() && text[0] == 0xFEFF && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.erase(0, 1);
        return text;
    }
    require(detectQuoteEncoding(bytes.data(), bytes.size()) == QuoteEncoding::singleByte,
            "what the converter refuses is read a byte a unit");
    text.clear();
    const std::size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (std::size_t i = start; i < bytes.size(); ++i)
        text += ansiCharacter(static_cast<unsigned char>(bytes[i]));
    return text;
}

// A line a typist can finish: 1 to 65,536 units, something besides blanks and tabs, and every
// surrogate half beside its other half.
bool typableText(const std::wstring& line)
{
    if (line.empty() || line.size() > longestQuote || line.find_first_not_of(L" \t") == std::wstring::npos)
        return false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const wchar_t half = line[i] & 0xFC00;  // 0xD800 a leading half, 0xDC00 a trailing one
        if (half == 0xDC00 || (half == 0xD800 && (++i == line.size() || (line[i] & 0xFC00) != 0xDC00)))
            return false;
    }
    return true;
}

// The lines of the file through the library, checked against the whole text cut at each LF
// (less a CR before it; a final LF adds no line): a typable line decodes to exactly its text,
// and a line that cannot be typed is never decoded.
std::vector<std::wstring> readQuoteLines(const std::string& bytes, const QuoteLibrary& library)
{
    const std::wstring text = wholeText(bytes);
    std::vector<std::wstring> expected;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L'\n', start);
        const bool ended = end != std::wstring::npos;
        if (!ended)
            end = text.size();
        std::size_t length = end - start;
        if (ended && length > 0 && text[end - 1] == L'\r')
            --length;
        expected.push_back(text.substr(start, length));
        start = end + 1;
    }
    require(quoteLineCount(library) == expected.size(), "one line per LF-ended line");

    std::vector<std::wstring> lines;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::wstring line = decodeQuoteLine(library, i);
        const bool typable = typableText(expected[i]);
        require(isTypableQuote(library, i) == typable, "a line is typable when a typist can finish it");
        require(line == (typable ? expected[i] : std::wstring()), "a typable line decodes to its text");
        require(line.find(L'\n') == std::wstring::npos, "a line holds no LF");
        lines.push_back(line);
    }
    return lines;
}

// What a typist with only an ordinary keyboard types for a character of the quote.
wchar_t typedWithKeys(wchar_t character)
{
    static const std::wstring typographic = L"‘’‚‛′“”„‟″‒–—―−\u00A0", keys = L"'''''\"\"\"\"\"----- ";
    const std::size_t at = typographic.find(character);
    return at == std::wstring::npos ? character : keys[at];
}

// Types the quote word by word: the words give the quote back, the underline stays inside the
// quote, and the box's text is judged as a typist expects.
void checkWords(const std::wstring& quote)
{
    std::vector<std::wstring> words;
    splitQuoteIntoWords(quote, words);
    std::wstring joined;
    std::size_t typedCount = 0;
    for (std::size_t index = 0; index < words.size(); ++index) {
        const std::wstring& word = words[index];
        require(!word.empty(), "no word is empty");
        const std::size_t blank = word.find(L' ');
        const bool last = index + 1 == words.size();
        require(blank == std::wstring::npos ? last : blank == word.size() - 1, "a word ends at its one blank");

        const std::int32_t underline = underlineLengthFor(words, index);
        require(underline >= 0 && typedCount + static_cast<std::size_t>(underline) <= quote.size(),
                "the underline stays inside the quote");
        require(quote.compare(typedCount, static_cast<std::size_t>(underline), word, 0,
                              static_cast<std::size_t>(underline)) == 0,
                "the underline covers the word");

        require(compareTypedText(L"", word) == TypedTextState::empty, "an empty box is empty");
        require(compareTypedText(word, word) == TypedTextState::complete, "the word completes itself");
        std::wstring withKeys = word;
        for (wchar_t& character : withKeys)
            character = typedWithKeys(character);
        require(compareTypedText(withKeys, word) == TypedTextState::complete, "the keys complete the word");
        if (withKeys != word)
            require(compareTypedText(word, withKeys) == TypedTextState::wrong, "a plain character wants its own key");
        if (word.size() > 1) {
            const std::wstring beginning = word.substr(0, word.size() / 2 + 1);
            require(compareTypedText(beginning, word) ==
                        (beginning.size() == word.size() ? TypedTextState::complete : TypedTextState::correctBeginning),
                    "a beginning is correct");
        }
        std::wstring typo = word;
        typo.back() = static_cast<wchar_t>(typo.back() ^ 1);
        require(compareTypedText(typo, word) == TypedTextState::wrong, "a changed unit is wrong");
        require(compareTypedText(word + L'x', word) == TypedTextState::wrong, "too much is wrong");

        joined += word;
        typedCount += word.size();
    }
    require(joined == quote, "the words give the quote back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const QuoteLibrary library = makeQuoteLibrary(bytes);
    const std::vector<std::wstring> lines = readQuoteLines(bytes, library);
    bool anyTypable = false;
    for (const std::wstring& line : lines) {
        checkWords(line);
        anyTypable = anyTypable || !line.empty();
    }

    require(hasTypableQuote(library) == anyTypable, "a library is typable when a line has text");
    if (anyTypable) {
        std::mt19937 engine(static_cast<std::uint32_t>(size));
        for (int pick = 0; pick < 3; ++pick) {
            const std::int32_t index = pickQuoteIndex(engine, library);
            require(index >= 0 && static_cast<std::size_t>(index) < lines.size() && typableText(lines[index]),
                    "the pick lands on a quote a typist can finish");
        }
    }
    return 0;
}
