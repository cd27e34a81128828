#include "typing/typedText.h"

TypedTextState compareTypedText(const std::wstring& typed, const std::wstring& word)
{
    if (typed.empty()) {
        return TypedTextState::empty;
    }
    if (typed.size() > word.size()) {
        return TypedTextState::wrong;
    }
    if (word.compare(0, typed.size(), typed) != 0) {
        return TypedTextState::wrong;
    }
    return typed.size() == word.size() ? TypedTextState::complete : TypedTextState::correctBeginning;
}
