#include "tests/wine/testProgram.h"

#include "typing/typing.h"

#include <set>

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
