#include "typing/quoteText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

Lines linesOf(const std::string& bytes)
{
    Lines lines;
    appendQuoteLines(bytes.data(), bytes.size(), lines);
    return lines;
}

Lines wordsOf(const std::wstring& quote)
{
    Lines words;
    splitQuoteIntoWords(quote, words);
    return words;
}

// A fixed name in the current directory: the same code runs natively and under Wine.
const char* const scratchFile = "quoteTextTests.tmp";

void writeScratchFile(const std::string& bytes)
{
    std::FILE* file = std::fopen(scratchFile, "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

}  // namespace

TEST(quoteLines, crLfAndBareLfReadTheSame)
{
    const Lines expected{L"First quote.", L"Second one", L"third"};
    EXPECT_EQ(linesOf("First quote.\r\nSecond one\r\nthird\r\n"), expected);
    EXPECT_EQ(linesOf("First quote.\nSecond one\nthird\n"), expected);
    EXPECT_EQ(linesOf("First quote.\r\nSecond one\nthird"), expected);
}

TEST(quoteLines, finalLineFeedAddsNoLineButEveryEmptyLineCounts)
{
    EXPECT_EQ(linesOf(""), Lines{});
    EXPECT_EQ(linesOf("a"), Lines{L"a"});
    EXPECT_EQ(linesOf("a\n"), Lines{L"a"});
    EXPECT_EQ(linesOf("\n"), Lines{L""});
    EXPECT_EQ(linesOf("\r\n"), Lines{L""});
    EXPECT_EQ(linesOf("\na"), (Lines{L"", L"a"}));
    EXPECT_EQ(linesOf("a\n\nb"), (Lines{L"a", L"", L"b"}));
    EXPECT_EQ(linesOf("a\n\n"), (Lines{L"a", L""}));
    EXPECT_EQ(linesOf("a\r\n\r\n\r\n"), (Lines{L"a", L"", L""}));
}

TEST(quoteLines, crStaysUnlessDirectlyBeforeLineFeed)
{
    EXPECT_EQ(linesOf("a\rb\n"), Lines{L"a\rb"});
    EXPECT_EQ(linesOf("end\r"), Lines{L"end\r"});
    EXPECT_EQ(linesOf("\r"), Lines{L"\r"});
    EXPECT_EQ(linesOf("a\r\r\nb"), (Lines{L"a\r", L"b"}));
    EXPECT_EQ(linesOf("\r\r\n"), Lines{L"\r"});
}

TEST(quoteLines, eachByteBecomesTheUnitOfTheSameValue)
{
    // UTF-8 is not decoded: the two bytes of 'é' stay two units.
    EXPECT_EQ(linesOf("caf\xC3\xA9\n"), (Lines{std::wstring{L'c', L'a', L'f', 0xC3, 0xA9}}));
    EXPECT_EQ(linesOf("\xEF\xBB\xBFQuote\nNext"),
              (Lines{std::wstring{0xEF, 0xBB, 0xBF, L'Q', L'u', L'o', L't', L'e'}, L"Next"}));
    EXPECT_EQ(linesOf("\x80\x9F\xFF"), (Lines{std::wstring{0x80, 0x9F, 0xFF}}));
    EXPECT_EQ(linesOf("a\x1A"
                      "b\n\x1A"),
              (Lines{std::wstring{L'a', 0x1A, L'b'}, std::wstring{0x1A}}));
    EXPECT_EQ(linesOf(std::string("a\0b\n\0", 5)), (Lines{std::wstring{L'a', 0, L'b'}, std::wstring(1, L'\0')}));
}

TEST(quoteLines, appendsAfterWhatTheListHolds)
{
    Lines lines{L"kept"};
    const std::string bytes = "new\n";
    appendQuoteLines(bytes.data(), bytes.size(), lines);
    EXPECT_EQ(lines, (Lines{L"kept", L"new"}));
}

TEST(quoteFile, readsEveryByteAsStored)
{
    const std::string small("one\r\ntwo\x1A\0\xFF\r", 12);
    std::string large;
    for (int i = 0; i < 30000; ++i) {
        large += "line " + std::to_string(i) + "\n";
    }
    for (const std::string& stored : {std::string(), small, large}) {
        writeScratchFile(stored);
        std::string bytes = "left over";
        EXPECT_TRUE(readFileBytes(scratchFile, bytes));
        EXPECT_EQ(bytes, stored);
    }
    std::remove(scratchFile);
}

TEST(quoteFile, missingFileFailsWithNoBytes)
{
    std::string bytes = "left over";
    EXPECT_FALSE(readFileBytes("noSuchQuoteFile.txt", bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(quoteWords, joinedWordsGiveTheQuoteBack)
{
    for (const std::wstring quote :
         {L"The quick brown fox.", L"a  b", L"end ", L" x", L"  ", L"tab\tis not a gap", L"one"}) {
        std::wstring joined;
        for (const std::wstring& word : wordsOf(quote)) {
            EXPECT_FALSE(word.empty());
            joined += word;
        }
        EXPECT_EQ(joined, quote);
    }
}

TEST(quoteWords, eachWordKeepsTheBlankAfterIt)
{
    EXPECT_EQ(wordsOf(L"one two"), (Lines{L"one ", L"two"}));
    EXPECT_EQ(wordsOf(L"a  b"), (Lines{L"a ", L" ", L"b"}));
    EXPECT_EQ(wordsOf(L"end "), Lines{L"end "});
    EXPECT_EQ(wordsOf(L" x"), (Lines{L" ", L"x"}));
    EXPECT_EQ(wordsOf(L"tab\there"), Lines{L"tab\there"});
    EXPECT_EQ(wordsOf(L"no\x00A0gap"), Lines{L"no\x00A0gap"});
    EXPECT_EQ(wordsOf(L""), Lines{});
}

TEST(quoteWords, underlineLeavesOutTheBlankButNotOnTheLastWord)
{
    const Lines words{L"one ", L"two"};
    EXPECT_EQ(underlineLengthFor(words, 0), 3);
    EXPECT_EQ(underlineLengthFor(words, 1), 3);
    EXPECT_EQ(underlineLengthFor(words, 2), 0);
    EXPECT_EQ(underlineLengthFor(Lines{L"Hello"}, 0), 5);
    EXPECT_EQ(underlineLengthFor(Lines{L"end "}, 0), 4);
    EXPECT_EQ(underlineLengthFor(Lines{L"a ", L" ", L"b"}, 1), 0);
    EXPECT_EQ(underlineLengthFor(Lines{}, 0), 0);
}

TEST(quotePick, typableOnlyWithANonEmptyQuote)
{
    EXPECT_FALSE(hasTypableQuote(Lines{}));
    EXPECT_FALSE(hasTypableQuote(Lines{L"", L""}));
    EXPECT_TRUE(hasTypableQuote(Lines{L"", L"x"}));
}

TEST(quotePick, oneDrawModuloTheQuoteCount)
{
    const Lines quotes{L"0", L"1", L"2", L"3", L"4", L"5", L"6"};
    std::mt19937 engine(5489);
    EXPECT_EQ(pickQuoteIndex(engine, quotes), static_cast<int32_t>(3499211612u % 7));
    std::mt19937 expected(5489);
    expected.discard(1);
    EXPECT_EQ(engine, expected);
}

TEST(quotePick, emptyQuotesAreDrawnAgain)
{
    // With seed 5489 the first draws land on 1, 0, 1, 1 and then 2.
    const Lines quotes{L"", L"", L"2", L"3", L"4", L"5", L"6"};
    std::mt19937 engine(5489);
    EXPECT_EQ(pickQuoteIndex(engine, quotes), 2);
    std::mt19937 expected(5489);
    expected.discard(5);
    EXPECT_EQ(engine, expected);
}
