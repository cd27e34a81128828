// Comparing the text in the typing box with the word to type.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class TypedTextState {
    empty,             // nothing typed: no frame
    correctBeginning,  // a proper beginning of the word: no frame
    wrong,             // not a beginning of the word (or longer than it): the red frame
    complete,          // exactly the word: it is done
};

// The keys that type `character` where an ordinary keyboard may have no key for it: ' for curly
// single quotes, primes, ‹ › and the acute accent; " for curly double quotes, double primes and
// « »; - for the dashes and the minus sign; the blank for a no-break space and a tab; three full
// stops for the ellipsis; the middle dot · for ‧ and ・ (as input methods type them); no key at
// all ("") for the invisible soft hyphen, zero-width space, zero-width (non-)joiner, word joiner
// and byte-order mark; the letter under the mark for a Latin letter with one (c for ç, O for Ø,
// e for é). False for every other character, which is typed as itself only.
bool keysForCharacter(wchar_t character, std::wstring_view& keys);

// Compares the box with the word, case exactly. Each character of the word is typed as itself
// or as its keys (keysForCharacter), so the box may be longer or shorter than the word it
// finishes ("others.." is a correct beginning of "others…"). Both are taken in their canonical
// composed form first: "Café" typed with a composed é finishes a word stored as "Cafe" and a
// combining acute accent. Only a real blank (or the no-break space itself) ends a word.
TypedTextState compareTypedText(const std::wstring& typed, const std::wstring& word);

// The most units the typing box must take for a quote of these words: its longest word with
// every character typed its longest way, and never less than the box's usual 30,000.
std::size_t typingBoxLimitFor(const std::vector<std::wstring>& words);

// `text` in Unicode's canonical composed form (NFC), through the platform's normalisation
// (quoteLibraryWindows.cpp, quoteLibraryPosix.cpp); the text itself when it cannot be normalised.
std::wstring composeText(const std::wstring& text);
