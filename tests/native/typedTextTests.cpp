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
