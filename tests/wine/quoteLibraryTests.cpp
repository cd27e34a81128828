#include "tests/wine/testProgram.h"

#include "typing/typing.h"

#include <set>

// Some C++ runtimes on Windows once gave a random device that returned the same sequence in
// every run; then every start would show the same first quote.
TEST(QuoteLibraryOnWindows, seedingDiffersFromRunToRun)
{
    std::set<uint32_t> firstDraws;
    for (int run = 0; run < 8; ++run) {
        seedRandomEngine();
        firstDraws.insert(appState.randomEngine());
    }
    EXPECT_GE(firstDraws.size(), 7u);
    appState.randomEngine.seed(std::mt19937::default_seed);
}

TEST_F(ProgramTest, loadsEveryLineAndPicksOnlyTypableQuotes)
{
    ASSERT_TRUE(startProgram("\r\n\xE9t\xE9 \x80\r\n\n\nlast"));
    ASSERT_EQ(appState.quotes.size(), 5u);
    EXPECT_EQ(appState.quotes[1], std::wstring(L"\u00E9t\u00E9 \u0080"));
    EXPECT_EQ(appState.quotes[4], L"last");
    for (int pick = 0; pick < 20; ++pick) {
        pickRandomQuote();
        EXPECT_FALSE(appState.quotes[appState.quoteIndex].empty());
    }
}
