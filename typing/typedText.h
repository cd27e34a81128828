// Comparing the text in the typing box with the word to type.
#pragma once

#include <string>

enum class TypedTextState {
    empty,             // nothing typed: no frame
    correctBeginning,  // a proper beginning of the word: no frame
    wrong,             // not a beginning of the word (or longer than it): the red frame
    complete,          // exactly the word: it is done
};

// Compares unit by unit: case matters, nothing is trimmed or folded. Where the word holds a
// curly quote, a prime, a dash or the minus sign, or a no-break space, the box may hold that
// character or the key that types it on an ordinary keyboard (' " - or the blank), one for one;
// a plain ' " - or blank in the word wants exactly that key. Text longer than the word is wrong
// without any comparison.
TypedTextState compareTypedText(const std::wstring& typed, const std::wstring& word);
