// New text and retry: a fresh attempt on a new random quote or on the same one.
#include "app/appState.h"
#include "app/controls.h"
#include "app/mainWindow.h"
#include "render/quoteRendering.h"
#include "typing/typing.h"

void resetAttempt(bool keepQuote)
{
    appState.wordsPerMinute = 0.0;
    appState.charactersPerMinute = 0.0;
    appState.timerStarted = false;
    appState.mismatchShown = false;
    appState.typedTextWrong = false;
    appState.resultsShown = false;
    if (!keepQuote)
        pickRandomQuote();
    rebuildTextLayout();
    prepareAttempt();
    paintQuote();
    showAndUpdate(appState.mainWindow);

    // The reset may run inside the old box's own procedure (Esc) or a button's click: the old
    // controls are hidden at once and destroyed after that message has returned.
    retireControl(appState.typingEdit);
    retireControl(appState.newTextButton);
    retireControl(appState.resultsLabel);
    retireControl(appState.retryButton);
    retireControl(appState.anotherTextButton);

    createTypingControls();
    showAndUpdate(appState.typingEdit);
    showAndUpdate(appState.newTextButton);
    setControlFont(appState.typingEdit, appState.editFont, true);
    giveFocusNowOrWhenRestored(appState.typingEdit);
    SetWindowTextW(appState.mainWindow, L"Paceword");
    // The layout request: the render target and the text layout for the current client size, and
    // the controls in their places.
    SendMessageW(appState.mainWindow, WM_SIZE, 0, 0);
}
