// The results screen: the figures, the label and the two buttons.
#include "app/accessibility.h"
#include "app/appState.h"
#include "app/controls.h"
#include "render/quoteRendering.h"
#include "typing/figures.h"
#include "typing/typing.h"

ResultsControlPlaces resultsControlPlaces(const RECT& client)
{
    // The label reaches below the client area: only its upper 100 pixels show.
    return {controlPlace(client.left + 20, client.bottom - 100, 220, 200),
            controlPlace(client.right - 185, client.bottom - 55, 165, 35),
            controlPlace(client.right - 185, client.bottom - 105, 165, 35)};
}

void showResults()
{
    appState.endTime = clockNow();
    // This runs inside the box's own change notification: the box and the button are hidden
    // and forgotten now, and destroyed once that notification has returned.
    retireControl(appState.typingEdit);
    retireControl(appState.newTextButton);
    clearMismatchFrame();
    SetWindowTextW(appState.mainWindow, L"Good job! :D");
    appState.resultsShown = true;

    AttemptFigures figures = computeFigures(appState.startTime, appState.endTime, appState.currentQuote.size());
    appState.charactersPerMinute = figures.charactersPerMinute;
    appState.wordsPerMinute = figures.wordsPerMinute;
    std::wstring text = formatResultsText(figures);
    announceResults();

    GetClientRect(appState.mainWindow, &appState.clientRect);
    appState.timerStarted = false;
    const ResultsControlPlaces places = resultsControlPlaces(appState.clientRect);
    appState.resultsLabel = createControl(appState.mainWindow, L"static", text.c_str(), WS_CHILD, places.resultsLabel);
    showAndUpdate(appState.resultsLabel);
    const DWORD buttonStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | BS_PUSHBUTTON;
    appState.anotherTextButton = createControl(appState.mainWindow, L"Button", L"Another text! (Enter or Esc)",
                                               buttonStyle, places.anotherTextButton, CMD_ANOTHER_TEXT);
    appState.retryButton = createControl(appState.mainWindow, L"Button", L"Retry same text (r or R)", buttonStyle,
                                         places.retryButton, CMD_RETRY);
    setControlFont(appState.anotherTextButton, appState.buttonFont, false);
    setControlFont(appState.retryButton, appState.buttonFont, false);
    showAndUpdate(appState.anotherTextButton);
    showAndUpdate(appState.retryButton);
}
