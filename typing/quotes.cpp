// Reading the quote library, the random pick and the start of an attempt.
#include "app/appState.h"
#include "app/fileBytes.h"
#include "typing/quoteLibrary.h"
#include "typing/typedText.h"
#include "typing/typing.h"

#include <new>
#include <utility>

bool loadQuotes()
{
    // A missing or unreadable file, or one whose beginning cannot be held, leaves the library
    // empty; start-up then says so and ends. One byte past the limit tells a larger file, which
    // is read up to its last whole line within the limit.
    std::string bytes;
    if (!readFileBeginning("quotes.txt", maxQuoteFileBytes + 1, bytes))
        return false;
    try {
        appState.quotes = makeQuoteLibrary(std::move(bytes));
    } catch (const std::bad_alloc&) {
        appState.quotes = QuoteLibrary();
    }
    return hasTypableQuote(appState.quotes);
}

void seedRandomEngine()
{
    std::random_device device;
    appState.randomEngine.seed(device());
}

void pickRandomQuote()
{
    // The decoded quote and its words change here together with the index, so that no layout,
    // word list or drawing pass can be built from another quote.
    appState.quoteIndex = pickQuoteIndex(appState.randomEngine, appState.quotes);
    appState.currentQuote = decodeQuoteLine(appState.quotes, static_cast<std::size_t>(appState.quoteIndex));
    appState.words.clear();
    splitQuoteIntoWords(appState.currentQuote, appState.words);
    limitTypingEdit();
}

void prepareAttempt()
{
    appState.wordIndex = 0;
    appState.typedCount = 0;
    appState.underlineLength = underlineLengthFor(appState.words, 0);
}

void limitTypingEdit()
{
    // The box takes 30,000 units unless told otherwise: a one-word quote longer than that could
    // never be finished.
    if (appState.typingEdit)
        SendMessageW(appState.typingEdit, EM_SETLIMITTEXT, typingBoxLimitFor(appState.words), 0);
}
