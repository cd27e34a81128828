// Figures on real quote collections (scripts/make-collections.sh makes some), measured with the
// program's own logic: how many lines it would pick, how many of those a person with an
// ordinary keyboard can finish, and which characters stop the rest. Only the library's long-lived
// entry points are used, so the same tool measures older and newer versions of the logic.
//
// Usage: quote_collection_figures [--layout en|de|es|it|pt|ru|zh] file...
// A --layout applies to the files after it; the default is en.
#include "typing/quoteLibrary.h"
#include "typing/typedText.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

struct Layout {
    const char* name;
    const wchar_t* extraKeys;  // beyond printable ASCII, which every layout has
    // Ranges of characters an input method types, each as itself, first and last of each pair.
    const wchar_t* inputMethod = L"";
};

// The printed key caps of each national layout (Russian: ЙЦУКЕН; Portuguese: Brazilian ABNT2),
// with what their dead keys compose, the accent alone included (dead key, then the blank).
const Layout layouts[] = {
    {"en", L""},
    {"de", L"äöüÄÖÜß§°´`^€µ²³âêîôûÂÊÎÔÛáéíóúÁÉÍÓÚàèìòùÀÈÌÒÙ"},
    {"es", L"ñÑçÇ¿¡ºª·¬€´¨áéíóúÁÉÍÓÚüÜàèìòùÀÈÌÒÙâêîôûÂÊÎÔÛ"},
    {"it", L"àèéìòùçÈ°§£€"},
    {"pt", L"çÇªº§¹²³£¢¬´¨áéíóúÁÉÍÓÚâêîôûÂÊÎÔÛãõÃÕàÀüÜ"},
    {"ru", L"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ№"},
    // A Chinese input method: the middle dot and the curly quotes on their keys, and the Han
    // characters, CJK punctuation and full-width forms through the method's own choice.
    {"zh", L"·“”‘’—…", L"\u3000\u303F\u3400\u4DBF\u4E00\u9FFF\uF900\uFAFF\uFF01\uFF5E"},
};

const Layout* findLayout(const char* name)
{
    for (const Layout& layout : layouts)
        if (std::strcmp(layout.name, name) == 0)
            return &layout;
    return nullptr;
}

struct Keyboard {
    std::vector<wchar_t> keys;
    std::vector<bool> has;  // by UTF-16 unit
};

Keyboard makeKeyboard(const Layout& layout)
{
    Keyboard keyboard;
    keyboard.has.assign(0x10000, false);
    for (wchar_t key = 0x20; key <= 0x7E; ++key)
        keyboard.keys.push_back(key);
    for (const wchar_t* key = layout.extraKeys; *key != L'\0'; ++key)
        keyboard.keys.push_back(*key);
    for (const wchar_t key : keyboard.keys)
        keyboard.has[static_cast<std::size_t>(key) & 0xFFFF] = true;
    // Not keys of their own for the search below, which tries every key where the word's own
    // character fails: an input method's thousands of characters each type only themselves.
    for (const wchar_t* range = layout.inputMethod; range[0] != L'\0'; range += 2)
        for (std::size_t unit = range[0]; unit <= static_cast<std::size_t>(range[1]); ++unit)
            keyboard.has[unit] = true;
    return keyboard;
}

// Comparisons one word may take: a word where several keys fit at many places could otherwise
// take longer than the whole collection. Words cut off count as not finishable and are reported.
constexpr long searchBudget = 2000000;

struct Search {
    const std::wstring& word;
    const Keyboard& keyboard;
    std::size_t depthLimit;
    long budget;
};

bool reachesComplete(std::wstring& typed, Search& search);

bool tryKey(std::wstring& typed, wchar_t key, Search& search)
{
    if (search.budget <= 0)
        return false;
    --search.budget;
    typed.push_back(key);
    const TypedTextState state = compareTypedText(typed, search.word);
    const bool done = state == TypedTextState::complete ||
                      (state == TypedTextState::correctBeginning && reachesComplete(typed, search));
    typed.pop_back();
    return done;
}

// Depth first from `typed`, one keyboard key at a time, keeping what the logic calls a correct
// beginning. A key sequence need not be as long as the word ("..." may stand for "…").
bool reachesComplete(std::wstring& typed, Search& search)
{
    if (typed.size() >= search.depthLimit)
        return false;
    // The word's own next unit first: an ordinary word is then finished without a dead end, and
    // the full trial of every key is left to the places that need it.
    const wchar_t guess = typed.size() < search.word.size() ? search.word[typed.size()] : L'\0';
    const bool guessIsKey = search.keyboard.has[static_cast<std::size_t>(guess) & 0xFFFF] && guess != L'\0';
    if (guessIsKey && tryKey(typed, guess, search))
        return true;
    for (const wchar_t key : search.keyboard.keys)
        if (!(guessIsKey && key == guess) && tryKey(typed, key, search))
            return true;
    return false;
}

// True when keys of the layout type `point` on its own: the character itself, or the keys the
// program takes for it (« with ", Ö with O). A word that cannot be finished names only such
// characters as its blockers; its typable characters stop nothing.
bool typedByLayout(uint32_t point, const Keyboard& keyboard, std::unordered_map<uint32_t, bool>& known)
{
    const auto found = known.find(point);
    if (found != known.end())
        return found->second;
    std::wstring character;
    if (point > 0xFFFF) {
        character += static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10));
        character += static_cast<wchar_t>(0xDC00 + ((point - 0x10000) & 0x3FF));
    } else {
        character += static_cast<wchar_t>(point);
    }
    Search search{character, keyboard, 8, searchBudget};
    std::wstring typed;
    const bool typedAlone = reachesComplete(typed, search);
    known.emplace(point, typedAlone);
    return typedAlone;
}

// A whole character: a surrogate pair read as one code point, anything else as its unit.
std::vector<uint32_t> codePoints(const std::wstring& text)
{
    std::vector<uint32_t> points;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const uint32_t unit = static_cast<uint32_t>(text[i]) & 0xFFFF;
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint32_t>(text[i + 1]) & 0xFFFF;
            if (low >= 0xDC00 && low < 0xE000) {
                points.push_back(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        points.push_back(unit);
    }
    return points;
}

std::string utf8Of(uint32_t point)
{
    std::string bytes;
    if (point < 0x80) {
        bytes += static_cast<char>(point);
    } else if (point < 0x800) {
        bytes += static_cast<char>(0xC0 | point >> 6);
        bytes += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        bytes += static_cast<char>(0xE0 | point >> 12);
        bytes += static_cast<char>(0x80 | (point >> 6 & 0x3F));
        bytes += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | point >> 18);
        bytes += static_cast<char>(0x80 | (point >> 12 & 0x3F));
        bytes += static_cast<char>(0x80 | (point >> 6 & 0x3F));
        bytes += static_cast<char>(0x80 | (point & 0x3F));
    }
    return bytes;
}

// Control characters and lone surrogates would spoil the table: they are shown by number only.
bool isShowable(uint32_t point)
{
    return point >= 0x20 && point != 0x7F && !(point >= 0x80 && point < 0xA0) && !(point >= 0xD800 && point < 0xE000);
}

constexpr uint32_t orderOrOther = 0xFFFFFFFF;

bool measureFile(const char* path, const Layout& layout)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    const auto start = std::chrono::steady_clock::now();
    const QuoteLibrary library = makeQuoteLibrary(contents.str());
    const Keyboard keyboard = makeKeyboard(layout);

    // Many words repeat across a collection: each distinct one is searched once.
    std::unordered_map<std::wstring, bool> finishableWords;
    std::unordered_map<uint32_t, bool> typedCharacters;
    std::map<uint32_t, long> blockers;
    std::size_t picked = 0, finishable = 0, wordsCut = 0;
    std::vector<std::wstring> words;
    const std::size_t lines = quoteLineCount(library);
    for (std::size_t index = 0; index < lines; ++index) {
        if (!isTypableQuote(library, index))
            continue;
        ++picked;
        words.clear();
        splitQuoteIntoWords(decodeQuoteLine(library, index), words);
        std::set<uint32_t> blocking;
        for (const std::wstring& word : words) {
            auto found = finishableWords.find(word);
            if (found == finishableWords.end()) {
                Search search{word, keyboard, 4 * word.size() + 4, searchBudget};
                std::wstring typed;
                const bool done = reachesComplete(typed, search);
                wordsCut += !done && search.budget <= 0;
                found = finishableWords.emplace(word, done).first;
            }
            if (found->second)
                continue;
            // In composed form: a letter and its combining mark are one character, as the
            // comparison takes them.
            bool foreign = false;
            for (const uint32_t point : codePoints(composeText(word)))
                if (!typedByLayout(point, keyboard, typedCharacters)) {
                    blocking.insert(point);
                    foreign = true;
                }
            if (!foreign)
                blocking.insert(orderOrOther);
        }
        if (blocking.empty())
            ++finishable;
        for (const uint32_t point : blocking)
            ++blockers[point];
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("%s (layout %s)\n", path, layout.name);
    std::printf("  lines       %8zu\n", lines);
    std::printf("  picked      %8zu\n", picked);
    std::printf("  finishable  %8zu  %.1f %% of picked\n", finishable,
                picked ? 100.0 * static_cast<double>(finishable) / static_cast<double>(picked) : 0.0);
    if (wordsCut > 0)
        std::printf("  words given up after %ld comparisons: %zu\n", searchBudget, wordsCut);
    std::printf("  measured in %.2f s, %zu distinct words\n", seconds, finishableWords.size());
    std::vector<std::pair<uint32_t, long>> ranked(blockers.begin(), blockers.end());
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    if (!ranked.empty())
        std::printf("  blocking characters (quotes each stops):\n");
    const std::size_t shown = std::min<std::size_t>(ranked.size(), 30);
    for (std::size_t i = 0; i < shown; ++i) {
        const uint32_t point = ranked[i].first;
        if (point == orderOrOther)
            std::printf("    %-8s %6ld  (order or other)\n", "", ranked[i].second);
        else
            std::printf("    U+%04X %8ld  %s\n", static_cast<unsigned>(point), ranked[i].second,
                        isShowable(point) ? utf8Of(point).c_str() : "");
    }
    if (ranked.size() > shown)
        std::printf("    ... %zu more\n", ranked.size() - shown);
    std::printf("\n");
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const Layout* layout = findLayout("en");
    bool anyFile = false, allRead = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--layout") == 0) {
            layout = i + 1 < argc ? findLayout(argv[++i]) : nullptr;
            if (layout == nullptr) {
                std::fprintf(stderr, "--layout wants one of en de es it pt ru zh\n");
                return 2;
            }
            continue;
        }
        anyFile = true;
        allRead = measureFile(argv[i], *layout) && allRead;
    }
    if (!anyFile) {
        std::fprintf(stderr, "usage: quote_collection_figures [--layout en|de|es|it|pt|ru|zh] file...\n");
        return 2;
    }
    return allRead ? 0 : 1;
}
