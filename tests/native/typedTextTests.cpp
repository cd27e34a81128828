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
