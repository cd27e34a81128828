#include "typing/typedText.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

namespace {

struct CharacterKeys {
    wchar_t character;
    const wchar_t* keys;
};

// Characters most keyboards have no key for, in code order, with the keys that type them.
const CharacterKeys characterKeys[] = {
    {0x0009, L" "},    // tab: drawn as a blank, typed as one
    {0x00A0, L" "},    // no-break space
    {0x00AB, L"\""},   // «
    {0x00AD, L""},     // soft hyphen: invisible
    {0x00B4, L"'"},    // ´ used as an apostrophe
    {0x00BB, L"\""},   // »
    {0x200B, L""},     // zero-width space
    {0x200C, L""},     // zero-width non-joiner
    {0x200D, L""},     // zero-width joiner
    {0x2012, L"-"},    // ‒
    {0x2013, L"-"},    // –
    {0x2014, L"-"},    // —
    {0x2015, L"-"},    // ―
    {0x2018, L"'"},    // ‘
    {0x2019, L"'"},    // ’
    {0x201A, L"'"},    // ‚
    {0x201B, L"'"},    // ‛
    {0x201C, L"\""},   // “
    {0x201D, L"\""},   // ”
    {0x201E, L"\""},   // „
    {0x201F, L"\""},   // ‟
    {0x2026, L"..."},  // …
    {0x2027, L"·"},    // ‧ hyphenation point: input methods type the middle dot for it
    {0x2032, L"'"},    // ′
    {0x2033, L"\""},   // ″
    {0x2039, L"'"},    // ‹
    {0x203A, L"'"},    // ›
    {0x2060, L""},     // word joiner
    {0x2212, L"-"},    // −
    {0x30FB, L"·"},    // ・ katakana middle dot: the same
    {0xFEFF, L""},     // byte-order mark inside a line: a zero-width no-break space
};

// The Latin letters with a mark (U+00C0 to U+017F) that a keyboard without them types as the
// letter under the mark, 'c' for 'ç' or 'O' for 'Ø'; '?' where there is no such letter (Æ, ß,
// ×, ĳ and the like).
constexpr wchar_t firstMarkedLetter = 0x00C0;
constexpr wchar_t lettersUnderTheMark[] = L"AAAAAA?CEEEEIIII?NOOOOO?OUUUUY??aaaaaa?ceeeeiiii?nooooo?ouuuuy?y"
                                          L"AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKk?LlLlLlLlLl"
                                          L"NnNnNn???OoOoOo??RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz?";
static_assert(sizeof lettersUnderTheMark / sizeof(wchar_t) == std::size_t(0x180 - firstMarkedLetter + 1),
              "one letter for each of U+00C0 to U+017F");

// Every unit below U+0300 is its own canonical composition, and none combines with what comes
// before it: text made only of them needs no normalising (nearly every quote and box).
bool mayChangeWhenComposed(const std::wstring& text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t unit) { return unit >= 0x0300; });
}

// Where a comparison stands in the word: before character `index` (keyCount 0), or within the
// keys of that character after `keyCount` of them. Encoded as one number so that a set of them
// sorts and deduplicates cheaply.
uint64_t stateAt(std::size_t index, std::size_t keyCount)
{
    return static_cast<uint64_t>(index) << 2 | keyCount;
}

// Adds `state` and, while it stands before a character typed by no key, the state after that
// character as well.
void addReachable(const std::wstring& word, std::size_t index, std::vector<uint64_t>& states)
{
    states.push_back(stateAt(index, 0));
    while (index < word.size()) {
        std::wstring_view keys;
        if (!keysForCharacter(word[index], keys) || !keys.empty())
            break;
        ++index;
        states.push_back(stateAt(index, 0));
    }
}

// The states one typed unit leads to from `states`.
void advance(const std::wstring& word, const std::vector<uint64_t>& states, wchar_t typed, std::vector<uint64_t>& next)
{
    next.clear();
    for (const uint64_t state : states) {
        const std::size_t index = static_cast<std::size_t>(state >> 2);
        const std::size_t keyCount = static_cast<std::size_t>(state & 3);
        if (index >= word.size())
            continue;
        std::wstring_view keys;
        const bool hasKeys = keysForCharacter(word[index], keys);
        if (keyCount == 0 && typed == word[index])
            addReachable(word, index + 1, next);
        if (hasKeys && keyCount < keys.size() && keys[keyCount] == typed) {
            if (keyCount + 1 == keys.size())
                addReachable(word, index + 1, next);
            else
                next.push_back(stateAt(index, keyCount + 1));
        }
    }
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
}

TypedTextState compareComposed(const std::wstring& typed, const std::wstring& word)
{
    std::vector<uint64_t> states;
    std::vector<uint64_t> next;
    addReachable(word, 0, states);
    for (const wchar_t unit : typed) {
        advance(word, states, unit, next);
        if (next.empty())
            return TypedTextState::wrong;
        states.swap(next);
    }
    // States are sorted: the last one is the furthest into the word.
    return states.back() == stateAt(word.size(), 0) ? TypedTextState::complete : TypedTextState::correctBeginning;
}

}  // namespace

bool keysForCharacter(wchar_t character, std::wstring_view& keys)
{
    if (character >= firstMarkedLetter && character < 0x180) {
        const wchar_t* letter = &lettersUnderTheMark[character - firstMarkedLetter];
        keys = std::wstring_view(letter, 1);
        return *letter != L'?';
    }
    const auto found = std::lower_bound(std::begin(characterKeys), std::end(characterKeys), character,
                                        [](const CharacterKeys& entry, wchar_t c) { return entry.character < c; });
    if (found == std::end(characterKeys) || found->character != character)
        return false;
    keys = found->keys;
    return true;
}

TypedTextState compareTypedText(const std::wstring& typed, const std::wstring& word)
{
    if (typed.empty())
        return TypedTextState::empty;
    if (!mayChangeWhenComposed(typed) && !mayChangeWhenComposed(word))
        return compareComposed(typed, word);
    return compareComposed(composeText(typed), composeText(word));
}

std::size_t typingBoxLimitFor(const std::vector<std::wstring>& words)
{
    std::size_t limit = 30000;
    for (const std::wstring& word : words) {
        std::size_t length = 0;
        for (const wchar_t unit : word) {
            std::wstring_view keys;
            length += keysForCharacter(unit, keys) ? std::max<std::size_t>(1, keys.size()) : 1;
        }
        limit = std::max(limit, length);
    }
    return limit;
}
