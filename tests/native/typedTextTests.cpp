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
    const std::wstring characters = L"’‘‚‛′“”„‟″–—‒―−\u00A0", keys = L"'''''\"\"\"\"\"----- ";
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
    EXPECT_EQ(compareTypedText(L"...", L"…"), TypedTextState::wrong);
}
