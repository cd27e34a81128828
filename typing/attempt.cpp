// The live attempt: the clock, the check of the box against the current word and word
// completion.
#include "app/accessibility.h"
#include "app/appState.h"
#include "app/controls.h"
#include "render/quoteRendering.h"
#include "typing/quoteLibrary.h"
#include "typing/typedText.h"
#include "typing/typing.h"

#include <chrono>

namespace {

int64_t steadyClockNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

ClockSource clockSource = steadyClockNanoseconds;

int64_t clockNow()
{
    return clockSource();
}

void startClockOnFirstChange()
{
    if (!appState.timerStarted) {
        appState.timerStarted = true;
        appState.startTime = clockNow();
        SetWindowTextW(appState.mainWindow, L"TIMER STARTED!!!!! GO! GO! GO!!! TYPE! TYPE! TYPE!!! FAST! FAST! "
                                            L"FAST!!! GOOD LUCK! ......");
    }
}

void onTypingChanged()
{
    // The pick never settles on an empty quote, so there is always a current word; the check
    // stays for safety.
    if (appState.wordIndex < 0 || static_cast<size_t>(appState.wordIndex) >= appState.words.size())
        return;
    const std::wstring& word = appState.words[appState.wordIndex];
    const TypedTextState state = compareTypedText(windowText(appState.typingEdit), word);
    noteTypedTextChecked(state == TypedTextState::wrong);
    switch (state) {
    case TypedTextState::empty:
    case TypedTextState::correctBeginning:
        clearMismatchFrame();
        return;
    case TypedTextState::wrong:
        showMismatchFrame();
        return;
    case TypedTextState::complete:
        break;
    }

    appState.wordIndex += 1;
    if (static_cast<size_t>(appState.wordIndex) == appState.words.size()) {
        showResults();
        return;
    }
    appState.typedCount += static_cast<int32_t>(word.size());
    appState.underlineLength = underlineLengthFor(appState.words, static_cast<size_t>(appState.wordIndex));
    // Emptying the box raises a nested change notification, handled before this returns: the
    // empty box is a right beginning of the next word, and that change draws the underline's move
    // and takes any frame away in one pass. Nothing is left to draw here then.
    SetWindowTextW(appState.typingEdit, L"");
    clearMismatchFrame();
    announceNextWord();
}
