#include "typing/typedText.h"

namespace {

// The key that types a character most keyboards have no key for: curly quotes and primes,
// dashes and the minus sign, the no-break space. Every other character is its own key.
wchar_t keyboardEquivalent(wchar_t character)
{
    switch (character) {
    case 0x2018:  // ‘
    case 0x2019:  // ’
    case 0x201A:  // ‚
    case 0x201B:  // ‛
    case 0x2032:  // ′
        return L'\'';
    case 0x201C:  // “
    case 0x201D:  // ”
    case 0x201E:  // „
    case 0x201F:  // ‟
    case 0x2033:  // ″
        return L'"';
    case 0x2012:  // ‒
    case 0x2013:  // –
    case 0x2014:  // —
    case 0x2015:  // ―
    case 0x2212:  // −
        return L'-';
    case 0x00A0:  // no-break space
        return L' ';
    default:
        return character;
    }
}

}  // namespace

TypedTextState compareTypedText(const std::wstring& typed, const std::wstring& word)
{
    if (typed.empty()) {
        return TypedTextState::empty;
    }
    if (typed.size() > word.size()) {
        return TypedTextState::wrong;
    }
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] != word[i] && typed[i] != keyboardEquivalent(word[i])) {
            return TypedTextState::wrong;
        }
    }
    return typed.size() == word.size() ? TypedTextState::complete : TypedTextState::correctBeginning;
}
