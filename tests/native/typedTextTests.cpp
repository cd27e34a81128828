#include "typing/typedText.h"

#include <gtest/gtest.h>

TEST(typedText, emptyBoxIsNeitherRightNorWrong)
{
    EXPECT_EQ(compareTypedText(L"", L"word "), TypedTextState::empty);
    EXPECT_EQ(compareTypedText(L"", L""), TypedTextState::empty);
}

TEST(typedText, beginningsOfTheWordAreCorrect)
{
    EXPECT_EQ(compareTypedText(L"w", L"word "), TypedTextState::correctBeginning);
    EXPECT_EQ(compareTypedText(L"word", L"word "), TypedTextState::correctBeginning);
    EXPECT_EQ(compareTypedText(L"word ", L"word "), TypedTextState::complete);
    EXPECT_EQ(compareTypedText(L"last", L"last"), TypedTextState::complete);
}

TEST(typedText, anyDifferenceIsWrong)
{
    EXPECT_EQ(compareTypedText(L"W", L"word "), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"wrd", L"word "), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"word  ", L"word "), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"words", L"word"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"word\t", L"word "), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"caf\x00C9", L"caf\x00E9"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L" ", L"x"), TypedTextState::wrong);
}

TEST(typedText, typographicPunctuationAlsoTakesItsKey)
{
    // Each character with the key that types it, one for one; a plain character wants its key.
    const std::wstring characters = L"’‘‚‛′“”„‟″–—‒―−\u00A0‧・", keys = L"'''''\"\"\"\"\"----- ··";
    for (std::size_t i = 0; i < characters.size(); ++i) {
        SCOPED_TRACE(i);
        const std::wstring word = L"a" + characters.substr(i, 1) + L"b ", key = keys.substr(i, 1);
        EXPECT_EQ(compareTypedText(word, word), TypedTextState::complete);
        EXPECT_EQ(compareTypedText(L"a" + key + L"b ", word), TypedTextState::complete);
        EXPECT_EQ(compareTypedText(L"a" + key, word), TypedTextState::correctBeginning);
        EXPECT_EQ(compareTypedText(L"a" + key + L"c", word), TypedTextState::wrong);
        EXPECT_EQ(compareTypedText(word, L"a" + key + L"b "), TypedTextState::wrong);
    }
    EXPECT_EQ(compareTypedText(L"don't", L"Don’t"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"‘", L"’"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"'", L"“"), TypedTextState::wrong);
}

TEST(typedText, keysMayBeLongerOrShorterThanTheCharacter)
{
    const struct {
        const wchar_t* typed;
        const wchar_t* word;
        TypedTextState state;
    } cases[] = {
        // The ellipsis is three full stops, or itself; a beginning may stop inside its keys.
        {L"others..", L"others… ", TypedTextState::correctBeginning},
        {L"others... ", L"others… ", TypedTextState::complete},
        {L"others… ", L"others… ", TypedTextState::complete},
        {L"others.. ", L"others… ", TypedTextState::wrong},
        {L"others....", L"others… ", TypedTextState::wrong},
        {L"a....", L"a…. ", TypedTextState::correctBeginning},
        {L"a.... ", L"a…. ", TypedTextState::complete},
        // Tabs take the blank key; guillemets and the acute accent take quote keys.
        {L"  -- ", L"\t\t-- ", TypedTextState::complete},
        {L"\t -- ", L"\t\t-- ", TypedTextState::complete},
        {L"\"Wort\" ", L"«Wort» ", TypedTextState::complete},
        {L"'so' ", L"‹so› ", TypedTextState::complete},
        {L"don't", L"don´t", TypedTextState::complete},
        // Invisible characters take no key at all, or themselves.
        {L"typewriter", L"type\u00ADwriter", TypedTextState::complete},
        {L"type", L"type\u200B\u200C\u200D\u2060\uFEFF", TypedTextState::complete},
        {L"type\u00AD", L"type\u00ADwriter", TypedTextState::correctBeginning},
        {L"type-", L"type\u00ADwriter", TypedTextState::wrong},
        // A Latin letter with a mark also takes the key of the letter under it.
        {L"Francois Soren ", L"François Søren ", TypedTextState::complete},
        {L"Fran\u00E7ois", L"François", TypedTextState::complete},
        {L"Strase", L"Straße", TypedTextState::wrong},
        // Case still counts, and only what a key types stands in for a character.
        {L"francois", L"François", TypedTextState::wrong},
        {L"«wort» ", L"«Wort» ", TypedTextState::wrong},
        {L"'Wort' ", L"«Wort» ", TypedTextState::wrong},
        {L"\u2026", L"...", TypedTextState::wrong},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(std::wstring(example.typed) + L" / " + example.word);
        EXPECT_EQ(compareTypedText(example.typed, example.word), example.state);
    }
}

TEST(typedText, textAndWordCompareInTheirComposedForms)
{
    // A composed é finishes a word stored with e and a combining acute accent, and the other
    // way round; other accents stay different.
    EXPECT_EQ(compareTypedText(L"Caf\u00E9", L"Cafe\u0301"), TypedTextState::complete);
    EXPECT_EQ(compareTypedText(L"Cafe\u0301", L"Caf\u00E9"), TypedTextState::complete);
    EXPECT_EQ(compareTypedText(L"Caf\u00E9", L"Cafe\u0301s "), TypedTextState::correctBeginning);
    EXPECT_EQ(compareTypedText(L"Caf\u00E8", L"Cafe\u0301"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"Caf\u00C9", L"Cafe\u0301"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"\u00E9", L"\u2026e\u0301"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"...\u00E9", L"\u2026e\u0301"), TypedTextState::complete);
}

TEST(typedText, theBoxTakesTheLongestWordTypedItsLongestWay)
{
    EXPECT_EQ(typingBoxLimitFor({L"short ", L"words"}), 30000u);
    EXPECT_EQ(typingBoxLimitFor({L"a ", std::wstring(40000, L'x')}), 40000u);
    EXPECT_EQ(typingBoxLimitFor({std::wstring(20000, 0x2026)}), 60000u);
}

TEST(typedText, edgesOfTheMarksAndOfTheCharactersWithKeys)
{
    const struct {
        const wchar_t* typed;
        const wchar_t* word;
        TypedTextState state;
    } cases[] = {
        // The combining marks begin at U+0300 (the grave accent); the last of their block, U+036F,
        // is put in canonical order with the others; past the block, singletons and marks of
        // other scripts compose too. A spacing accent below the block is no mark.
        {L"\u00E8", L"e\u0300", TypedTextState::complete},
        {L"e\u0300", L"\u00E8", TypedTextState::complete},
        {L"e\u036F\u0316", L"e\u0316\u036F", TypedTextState::complete},
        {L"\u00E9", L"e\u02CA", TypedTextState::wrong},
        {L"why;", L"why\u037E", TypedTextState::complete},
        {L"\u02B9", L"\u0374", TypedTextState::complete},
        {L"\u304C", L"\u304B\u3099", TypedTextState::complete},
        {L"\uAC00", L"\u1100\u1161", TypedTextState::complete},
    };
    for (const auto& example : cases) {
        SCOPED_TRACE(std::wstring(example.typed) + L" / " + example.word);
        EXPECT_EQ(compareTypedText(example.typed, example.word), example.state);
    }

    // Each character at an edge of a range with keys, with the key it might be taken for: the
    // key types it only inside the range. Typed as itself, every one finishes its word.
    const struct {
        wchar_t character;
        const wchar_t* key;
        bool typesIt;
    } edges[] = {
        {0x00BF, L"?", false}, {0x00C0, L"A", true},  {0x017E, L"z", true},   {0x017F, L"s", false},
        {0x017F, L"?", false}, {0x0180, L"b", false}, {0x2011, L"-", false},  {0x2012, L"-", true},
        {0x2015, L"-", true},  {0x2016, L"-", false}, {0x2025, L"..", false}, {0x2026, L"...", true},
        {0x2031, L"'", false}, {0x2032, L"'", true},  {0x2033, L"\"", true},  {0x2034, L"\"", false},
        {0x2038, L"'", false}, {0x2039, L"'", true},  {0x203A, L"'", true},   {0x203B, L"'", false},
        {0x2211, L"-", false}, {0x2212, L"-", true},  {0x2213, L"-", false},
    };
    for (const auto& edge : edges) {
        SCOPED_TRACE(static_cast<int>(edge.character));
        const std::wstring word = std::wstring(L"a") + edge.character + L"b";
        EXPECT_EQ(compareTypedText(word, word), TypedTextState::complete);
        EXPECT_EQ(compareTypedText(L"a" + std::wstring(edge.key) + L"b", word),
                  edge.typesIt ? TypedTextState::complete : TypedTextState::wrong);
    }

    // The invisible characters that no key types, and their visible or unkeyed neighbours.
    for (const wchar_t invisible : {0x00AD, 0x200B, 0x200C, 0x200D, 0x2060, 0xFEFF})
        EXPECT_EQ(compareTypedText(L"ab", std::wstring(L"a") + invisible + L"b"), TypedTextState::complete)
            << static_cast<int>(invisible);
    for (const wchar_t neighbour : {0x00AC, 0x00AE, 0x200A, 0x200E, 0x205F, 0x2061, 0xFEFE})
        EXPECT_EQ(compareTypedText(L"ab", std::wstring(L"a") + neighbour + L"b"), TypedTextState::wrong)
            << static_cast<int>(neighbour);
}
