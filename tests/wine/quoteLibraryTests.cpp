#include "tests/wine/testProgram.h"

#include "typing/typing.h"

#include <set>
#include <vector>

class QuoteLibraryTest : public ProgramTest {};

// Some C++ runtimes on Windows once gave a random device that returned the same sequence in
// every run; then every start would show the same first quote.
TEST_F(QuoteLibraryTest, seedingDiffersFromRunToRun)
{
    std::set<uint32_t> firstDraws;
    for (int run = 0; run < 8; ++run) {
        seedRandomEngine();
        firstDraws.insert(appState.randomEngine());
    }
    EXPECT_GE(firstDraws.size(), 7u);
    appState.randomEngine.seed(std::mt19937::default_seed);
}

// DirectWrite cannot draw a text longer than 65,536 units (its cluster maps count in 16 bits):
// such a line must never become the quote, whatever the keys do.
TEST_F(QuoteLibraryTest, overLongLinesAreNeverPickedNorDrawn)
{
    std::string overLong;
    for (int i = 0; i < 32768; ++i)
        overLong += "a ";
    overLong += "a";
    ASSERT_TRUE(startProgram("\xEF\xBB\xBF" + overLong + "\r\ncaf\xC3\xA9 d\xC3\xA9j\xC3\xA0\r\n\n" + overLong));
    EXPECT_EQ(quoteLineCount(appState.quotes), 4u);
    for (int round = 0; round < 4; ++round) {
        EXPECT_EQ(appState.currentQuote, L"caf\u00E9 d\u00E9j\u00E0");
        typeText(L"caf\u00E9 ");
        EXPECT_EQ(appState.wordIndex, 1);
        pressKey(VK_ESCAPE);
    }
}

TEST_F(QuoteLibraryTest, emptyLinesAreNeverPicked)
{
    ASSERT_TRUE(startProgram("\n\n\nonly this\n\n\n\n\n\n"));
    for (int round = 0; round < 5; ++round) {
        EXPECT_EQ(appState.currentQuote, L"only this");
        ASSERT_EQ(appState.words.size(), 2u);
        pressKey(VK_ESCAPE);
    }
}

// Public collections hold tabs (fortune files put two before the author), control characters of
// old overstrikes, and accents stored as a letter and a combining mark.
TEST_F(QuoteLibraryTest, tabsAreDrawnAsBlanksAndControlLinesAreNeverPicked)
{
    ASSERT_TRUE(startProgram("bold *__\b\bis* here\nTab\there next\nbell\x07\n"));
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(appState.currentQuote, L"Tab\there next");
        pressKey(VK_ESCAPE);
    }
    // Wine draws a tab with no width at all: the word after it would run into the one before.
    UINT32 count = 0;
    appState.textLayout->GetClusterMetrics(nullptr, 0, &count);
    std::vector<DWRITE_CLUSTER_METRICS> clusters(count);
    ASSERT_TRUE(SUCCEEDED(appState.textLayout->GetClusterMetrics(clusters.data(), count, &count)));
    ASSERT_GT(count, 3u);
    EXPECT_GT(clusters[3].width, 0.0f);
    typeText(L"Tab here ");
    EXPECT_EQ(appState.wordIndex, 1);
    expectScreenEqualsWholeRepaint("a word with a tab");
}

TEST_F(QuoteLibraryTest, aComposedAccentFinishesADecomposedOne)
{
    ASSERT_TRUE(startProgram("Cafe\xCC\x81 cr\xC3\xA8me"));
    typeText(L"Caf\u00E9 ");
    EXPECT_EQ(appState.wordIndex, 1);
    typeText(L"cre");
    EXPECT_FALSE(appState.mismatchShown);
}

// Wine's DirectWrite draws nothing in a family it does not have; Windows falls back by itself.
TEST_F(QuoteLibraryTest, aFamilyNotInstalledDrawsTheQuoteInTheDefaultOneAndIsKept)
{
    const std::string settings = "20\r\nNo Such Family";
    ASSERT_TRUE(startProgram("one two", &settings));
    EXPECT_EQ(appState.fontFamily, L"No Such Family");
    DWRITE_TEXT_METRICS metrics = {};
    ASSERT_TRUE(SUCCEEDED(appState.textLayout->GetMetrics(&metrics)));
    EXPECT_GT(metrics.width, 20.0f);
    EXPECT_EQ(readWorkFile("settings.txt"), settings);
}
