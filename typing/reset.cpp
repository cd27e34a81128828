// New text and retry: a fresh attempt on a new random quote or on the same one.
#include "app/appState.h"
#include "app/controls.h"
#include "app/mainWindow.h"
#include "render/quoteRendering.h"
#include "typing/typing.h"

LRESULT resetAttempt(bool keepQuote)
{
    appState.wordsPerMinute = 0.0;
    appState.charactersPerMinute = 0.0;
    appState.timerStarted = false;
    appState.mismatchShown = false;
    appState.resultsShown = false;
    if (!keepQuote)
        pickRandomQuote();
    rebuildTextLayout();
    prepareAttempt();
    paintQuote();
    ShowWindow(appState.mainWindow, SW_SHOW);
    UpdateWindow(appState.mainWindow);

    GetClientRect(appState.mainWindow, &appState.clientRect);
    if (appState.typingEdit)
        GetClientRect(appState.typingEdit, &appState.editRect);
    // The reset may run inside the old box's own procedure (Esc) or a button's click: the old
    // controls are hidden at once and destroyed after that message has returned.
    retireControl(appState.typingEdit);
    retireControl(appState.newTextButton);
    retireControl(appState.resultsLabel);
    retireControl(appState.retryButton);
    retireControl(appState.anotherTextButton);

    appState.typingEdit = createTypingEdit();
    appState.newTextButton = createNewTextButton(appState.editRect.bottom - appState.editRect.top);
    SendMessageW(appState.newTextButton, WM_SETFONT, reinterpret_cast<WPARAM>(appState.buttonFont), FALSE);
    ShowWindow(appState.typingEdit, SW_SHOW);
    ShowWindow(appState.newTextButton, SW_SHOW);
    UpdateWindow(appState.typingEdit);
    UpdateWindow(appState.newTextButton);
    SendMessageW(appState.typingEdit, WM_SETFONT, reinterpret_cast<WPARAM>(appState.editFont), TRUE);
    SetFocus(appState.typingEdit);
    SetWindowTextW(appState.mainWindow, L"Paceword");
    if (appState.typingEdit)
        subclassTypingEdit();
    return SendMessageW(appState.mainWindow, WM_SIZE, 0, 0);
}
