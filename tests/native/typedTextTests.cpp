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
    const std::wstring apostrophe(1, L'\''), quote(1, L'"'), hyphen(1, L'-'), blank(1, L' ');
    const struct {
        wchar_t character;
        const std::wstring& key;
    } pairs[] = {
        {0x2019, apostrophe}, {0x2018, apostrophe}, {0x201A, apostrophe}, {0x201B, apostrophe},
        {0x2032, apostrophe}, {0x201C, quote},      {0x201D, quote},      {0x201E, quote},
        {0x201F, quote},      {0x2033, quote},      {0x2013, hyphen},     {0x2014, hyphen},
        {0x2012, hyphen},     {0x2015, hyphen},     {0x2212, hyphen},     {0x00A0, blank},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(static_cast<int>(pair.character));
        const std::wstring word = L"a" + std::wstring(1, pair.character) + L"b ";
        EXPECT_EQ(compareTypedText(word, word), TypedTextState::complete);
        EXPECT_EQ(compareTypedText(L"a" + pair.key + L"b ", word), TypedTextState::complete);
        EXPECT_EQ(compareTypedText(L"a" + pair.key, word), TypedTextState::correctBeginning);
        EXPECT_EQ(compareTypedText(L"a" + pair.key + L"c", word), TypedTextState::wrong);
        // The other way round: a plain character of the quote wants its own key.
        EXPECT_EQ(compareTypedText(word, L"a" + pair.key + L"b "), TypedTextState::wrong);
    }
    EXPECT_EQ(compareTypedText(L"Don't", L"Don\u2019t"), TypedTextState::complete);
    EXPECT_EQ(compareTypedText(L"don't", L"Don\u2019t"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"\"never\" ", L"\u201Cnever\u201D "), TypedTextState::complete);
    EXPECT_EQ(compareTypedText(L"\u2018", L"\u2019"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"'", L"\u201C"), TypedTextState::wrong);
    EXPECT_EQ(compareTypedText(L"...", L"\u2026"), TypedTextState::wrong);
}
