// Fuzzes the quote library's logic: the file's encoding and lines, decoding a line, the pick, a
// quote into words, the underline and the comparison of typed text. An input is the bytes of a
// quotes.txt.
#include "typing/quoteLibrary.h"
#include "typing/typedText.h"

#include <iconv.h>
#include <unicode/unorm2.h>

#include <algorithm>
#include <cctype>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <regex>
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

// The file's lines as a reader with no line table would see them: after a UTF-16 mark the
// whole text in UTF-16; otherwise each line as the platform's converter takes it as UTF-8, else
// a byte a unit. LF, CR LF and a lone CR end a line; a final line end adds no line. A leading
// mark is never part of the text.
std::vector<std::wstring> fileLines(const std::string& bytes)
{
    const bool littleEndian = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    std::vector<std::wstring> rawLines;
    std::wstring text;
    if (littleEndian || bigEndian) {
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const unsigned char first = static_cast<unsigned char>(bytes[i]);
            const unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
            text += static_cast<wchar_t>(littleEndian ? first | second << 8 : second | first << 8);
        }
    } else {
        // CR and LF are single bytes in both encodings: each line is cut first, then decoded.
        const std::size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        for (std::size_t i = start; i < bytes.size(); ++i)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    }
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        std::size_t next = end + 1;
        if (end == std::wstring::npos)
            end = next = text.size();
        else if (text[end] == L'\r' && next < text.size() && text[next] == L'\n')
            ++next;
        std::wstring line = text.substr(start, end - start);
        if (!littleEndian && !bigEndian) {
            std::string lineBytes(line.begin(), line.end());
            if (!convertUtf8ToUtf16(lineBytes.data(), lineBytes.size(), line)) {
                line.clear();
                for (const char byte : lineBytes)
                    line += ansiCharacter(static_cast<unsigned char>(byte));
            }
        }
        lines.push_back(line);
        start = next;
    }
    return lines;
}

std::wstring typedWithKeys(wchar_t character);

// A line a typist can finish: 1 to 65,536 units, something besides blanks and tabs, no control
// character but the tab, and every surrogate half beside its other half.
bool typableText(const std::wstring& line)
{
    if (line.empty() || line.size() > longestQuote || line.find_first_not_of(L" \t") == std::wstring::npos)
        return false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if ((line[i] < 0x20 && line[i] != L'\t') || (line[i] >= 0x7F && line[i] <= 0x9F))
            return false;
        const wchar_t half = line[i] & 0xFC00;  // 0xD800 a leading half, 0xDC00 a trailing one
        if (half == 0xDC00 || (half == 0xD800 && (++i == line.size() || (line[i] & 0xFC00) != 0xDC00)))
            return false;
    }
    // The last word must be more than characters that no key types.
    const std::wstring lastWord = line.substr(line.rfind(L' ') == std::wstring::npos ? 0 : line.rfind(L' ') + 1);
    return lastWord.empty() ||
           std::any_of(lastWord.begin(), lastWord.end(), [](wchar_t unit) { return !typedWithKeys(unit).empty(); });
}

// The line as a terminal or a chat client shows its text: without ECMA-48 control sequences and
// IRC's bold, colour (with its digits), reset, reverse and underline codes.
std::wstring withoutFormatting(const std::wstring& line)
{
    static const std::wregex formatting(L"\x1B\\[[0-?]*[ -/]*[@-~]|\x03([0-9]{1,2}(,[0-9]{1,2})?)?|[\x02\x0F\x12\x1F]");
    return std::regex_replace(line, formatting, L"");
}

// The lines of the file through the library, checked against the reader above: a typable line
// decodes to exactly its text, and a line that cannot be typed is never picked.
std::vector<std::wstring> readQuoteLines(const std::string& bytes, const QuoteLibrary& library)
{
    const std::vector<std::wstring> expected = fileLines(bytes);
    require(quoteLineCount(library) == expected.size(), "one line per line end");

    std::vector<std::wstring> lines;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::wstring line = decodeQuoteLine(library, i);
        // The length limit holds for the line as the file has it.
        const std::wstring text = withoutFormatting(expected[i]);
        const bool typable = expected[i].size() <= longestQuote && typableText(text);
        require(isTypableQuote(library, i) == typable, "a line is typable when a typist can finish it");
        require(line == (typable ? text : std::wstring()), "a typable line decodes to its text");
        require(line.find_first_of(L"\r\n") == std::wstring::npos, "a line holds no line end");
        lines.push_back(line);
    }
    return lines;
}

// `text` in one of Unicode's normal forms, through ICU (here the very library the comparison
// composes with: what is checked is when and what it composes, not the tables).
std::wstring normalized(const UNormalizer2* (*form)(UErrorCode*), const std::wstring& text)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::u16string units(text.begin(), text.end());
    std::u16string result(4 * units.size() + 4, u'\0');
    const int32_t length = unorm2_normalize(form(&status), units.data(), static_cast<int32_t>(units.size()),
                                            result.data(), static_cast<int32_t>(result.size()), &status);
    require(U_SUCCESS(status), "ICU normalises the word");
    return std::wstring(result.begin(), result.begin() + length);
}

// What a typist with only an ordinary keyboard types for a character of the quote: the keys of
// typographic punctuation, a tab or an invisible character; the unmarked letter of a Latin
// letter whose canonical decomposition starts with it; else the character itself.
std::wstring typedWithKeys(wchar_t character)
{
    static const std::wstring characters = L"‘’‚‛′‹›´“”„‟″«»‒–—―−\u00A0\t";
    static const std::wstring keys = L"''''''''\"\"\"\"\"\"\"-----  ";
    const std::size_t at = characters.find(character);
    if (at != std::wstring::npos)
        return keys.substr(at, 1);
    if (character == 0x2026)
        return L"...";
    if (character == 0x2027 || character == 0x30FB)
        return L"\u00B7";
    if (std::wstring(L"\u00AD\u200B\u200C\u200D\u2060\uFEFF").find(character) != std::wstring::npos)
        return L"";
    if (character >= 0xC0 && character < 0x180) {
        UErrorCode status = U_ZERO_ERROR;
        const char16_t unit = static_cast<char16_t>(character);
        char16_t decomposed[8] = {};
        unorm2_normalize(unorm2_getNFDInstance(&status), &unit, 1, decomposed, 8, &status);
        if (U_SUCCESS(status) && decomposed[0] < 0x80 && std::isalpha(decomposed[0]))
            return std::wstring(1, static_cast<wchar_t>(decomposed[0]));
    }
    return std::wstring(1, character);
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
        // A word stored decomposed (e and a combining acute) is finished by either form of it, and by
        // the keys of its composed form (é, or e for it) where composing leaves those keys as they are.
        const std::wstring composedWord = normalized(unorm2_getNFCInstance, word);
        require(compareTypedText(composedWord, word) == TypedTextState::complete, "the composed form completes");
        require(compareTypedText(normalized(unorm2_getNFDInstance, word), word) == TypedTextState::complete,
                "the decomposed form completes");
        std::wstring composedKeys;
        for (const wchar_t character : composedWord)
            composedKeys += typedWithKeys(character);
        require(normalized(unorm2_getNFCInstance, composedKeys) != composedKeys ||
                    compareTypedText(composedKeys, word) == TypedTextState::complete,
                "the keys complete the word");
        // The beginning, a typo and the keys typed for the plain characters: words without marks.
        const bool composed = std::all_of(word.begin(), word.end(), [](wchar_t unit) { return unit < 0x300; });
        std::wstring withKeys;
        for (const wchar_t character : word)
            withKeys += typedWithKeys(character);
        if (withKeys != word && !withKeys.empty())
            require(compareTypedText(word, withKeys) == TypedTextState::wrong, "a plain character wants its own key");
        if (composed && word.size() > 1) {
            const std::wstring beginning = word.substr(0, word.size() / 2 + 1);
            // What no key types may be left out at the end too.
            const bool rest = std::all_of(word.begin() + static_cast<std::ptrdiff_t>(beginning.size()), word.end(),
                                          [](wchar_t unit) { return typedWithKeys(unit).empty(); });
            require(compareTypedText(beginning, word) ==
                        (rest ? TypedTextState::complete : TypedTextState::correctBeginning),
                    "a beginning is correct");
        }
        std::wstring typo = word;
        typo.back() = static_cast<wchar_t>(typo.back() ^ 1);
        require(!composed || compareTypedText(typo, word) == TypedTextState::wrong, "a changed unit is wrong");
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
