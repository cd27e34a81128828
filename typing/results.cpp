// The results screen: the figures, the label and the two buttons.
#include "app/appState.h"
#include "app/controls.h"
#include "typing/figures.h"
#include "typing/typing.h"

namespace {

HWND createResultsButton(const wchar_t* text, int y, int id)
{
    return CreateWindowExW(0, L"Button", text, WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | BS_PUSHBUTTON,
                           appState.clientRect.right - 185, y, 165, 35, appState.mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), appState.instance, nullptr);
}

}  // namespace

void showResults()
{
    appState.endTime = clockNow();
    // This runs inside the box's own change notification: the box and the button are hidden
    // and forgotten now, and destroyed once that notification has returned.
    retireControl(appState.typingEdit);
    retireControl(appState.newTextButton);
    SetWindowTextW(appState.mainWindow, L"Good job! :D");
    appState.resultsShown = true;

    AttemptFigures figures = computeFigures(appState.startTime, appState.endTime, appState.currentQuote.size());
    appState.charactersPerMinute = figures.charactersPerMinute;
    appState.wordsPerMinute = figures.wordsPerMinute;
    std::wstring text = formatResultsText(figures);

    GetClientRect(appState.mainWindow, &appState.clientRect);
    appState.timerStarted = false;
    appState.resultsLabel = CreateWindowExW(0, L"static", text.c_str(), WS_CHILD, appState.clientRect.left + 20,
                                            appState.clientRect.bottom - 100, 220, 200, appState.mainWindow, nullptr,
                                            appState.instance, nullptr);
    ShowWindow(appState.resultsLabel, SW_SHOW);
    UpdateWindow(appState.resultsLabel);
    appState.anotherTextButton =
        createResultsButton(L"Another text! (Enter or Esc)", appState.clientRect.bottom - 55, CMD_ANOTHER_TEXT);
    appState.retryButton =
        createResultsButton(L"Retry same text (r or R)", appState.clientRect.bottom - 105, CMD_RETRY);
    SendMessageW(appState.anotherTextButton, WM_SETFONT, reinterpret_cast<WPARAM>(appState.buttonFont), FALSE);
    SendMessageW(appState.retryButton, WM_SETFONT, reinterpret_cast<WPARAM>(appState.buttonFont), FALSE);
    ShowWindow(appState.anotherTextButton, SW_SHOW);
    UpdateWindow(appState.anotherTextButton);
    ShowWindow(appState.retryButton, SW_SHOW);
    UpdateWindow(appState.retryButton);
}
