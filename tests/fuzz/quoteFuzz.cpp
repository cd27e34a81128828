// Fuzzes the quote library's logic: the file's bytes into lines, the pick, a quote into words,
// the underline and the comparison of typed text. An input is the bytes of a quotes.txt.
// readQuoteLines is the one place that knows how the file becomes lines; every later check
// takes the lines as UTF-16 strings.
#include "typing/quoteText.h"
#include "typing/typedText.h"

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

std::vector<std::wstring> readQuoteLines(const std::string& bytes)
{
    std::vector<std::wstring> lines;
    appendQuoteLines(bytes.data(), bytes.size(), lines);

    // The lines, each followed by LF (the last only if the file ends with one), give the file
    // back less the CR of every CR LF pair; each byte is the unit of the same value.
    std::string expected;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            expected += bytes[i];
        }
    }
    std::wstring joined;
    for (const std::wstring& line : lines) {
        require(line.find(L'\n') == std::wstring::npos, "a line holds no LF");
        joined += line;
        joined += L'\n';
    }
    if (!bytes.empty() && bytes.back() != '\n') {
        joined.pop_back();
    }
    require(joined.size() == expected.size(), "the lines hold every byte of the file");
    for (std::size_t i = 0; i < joined.size(); ++i) {
        require(joined[i] == static_cast<wchar_t>(static_cast<unsigned char>(expected[i])), "each byte is one unit");
    }
    return lines;
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
    const std::vector<std::wstring> lines = readQuoteLines(bytes);
    for (const std::wstring& line : lines) {
        checkWords(line);
    }

    bool anyTypable = false;
    for (const std::wstring& line : lines) {
        anyTypable = anyTypable || !line.empty();
    }
    require(hasTypableQuote(lines) == anyTypable, "a library is typable when a line has text");
    if (anyTypable) {
        std::mt19937 engine(static_cast<std::uint32_t>(size));
        for (int pick = 0; pick < 3; ++pick) {
            const std::int32_t index = pickQuoteIndex(engine, lines);
            require(index >= 0 && static_cast<std::size_t>(index) < lines.size() && !lines[index].empty(),
                    "the pick lands on a quote with text");
        }
    }
    return 0;
}
