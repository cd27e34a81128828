// Comparing the text in the typing box with the word to type.
#pragma once

#include <string>

enum class TypedTextState {
    empty,             // nothing typed: no frame
    correctBeginning,  // a proper beginning of the word: no frame
    wrong,             // not a beginning of the word (or longer than it): the red frame
    complete,          // exactly the word: it is done
};

// Exact comparison of UTF-16 units: case matters, nothing is trimmed or folded. Text longer
// than the word is wrong without any comparison.
TypedTextState compareTypedText(const std::wstring& typed, const std::wstring& word);
