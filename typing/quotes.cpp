// Reading the quote library, the random pick and the start of an attempt.
#include "app/appState.h"
#include "typing/quoteText.h"
#include "typing/typing.h"

void loadQuotes()
{
    // A missing or unreadable file, or one too large to hold, leaves the library empty; start-up
    // then says so and ends.
    std::string bytes;
    if (!readFileBytes("quotes.txt", bytes))
        return;
    try {
        appendQuoteLines(bytes.data(), bytes.size(), appState.quotes);
    } catch (const std::bad_alloc&) {
        appState.quotes.clear();
        appState.quotes.shrink_to_fit();
    }
}

void seedRandomEngine()
{
    std::random_device device;
    appState.randomEngine.seed(device());
}

void pickRandomQuote()
{
    appState.quoteIndex = pickQuoteIndex(appState.randomEngine, appState.quotes);
}

void prepareAttempt()
{
    appState.words.clear();
    splitQuoteIntoWords(appState.quotes[appState.quoteIndex], appState.words);
    appState.wordIndex = 0;
    appState.typedCount = 0;
    appState.underlineLength = underlineLengthFor(appState.words, 0);
}
