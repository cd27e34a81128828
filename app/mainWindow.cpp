// The main window: command and key routing, painting, and the layout of its controls.
#include "app/mainWindow.h"

#include "app/accessibility.h"
#include "app/appState.h"
#include "app/controls.h"
#include "app/focus.h"
#include "render/deviceResources.h"
#include "render/quoteRendering.h"
#include "settings/settings.h"
#include "typing/typing.h"

namespace {

LRESULT onMainCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == CMD_ABOUT) {
        showAboutBox();
        return 0;
    }
    if (LOWORD(wParam) == CMD_SETTINGS) {
        openSettingsWindow();
        return 0;
    }
    if (HIWORD(wParam) == EN_CHANGE && appState.typingEdit && reinterpret_cast<HWND>(lParam) == appState.typingEdit) {
        startClockOnFirstChange();
        onTypingChanged();
        return 0;
    }
    if (LOWORD(wParam) == CMD_NEW_TEXT || LOWORD(wParam) == CMD_ANOTHER_TEXT) {
        resetAttempt(false);
        return 0;
    }
    // Compared whole on purpose: only the button's click (notification code 0) retries, where the
    // rows above take any notification their ids come with.
    if (wParam == CMD_RETRY) {
        resetAttempt(true);
        return 0;
    }
    return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
}

LRESULT onMainKeyDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (wParam == VK_ESCAPE) {
        resetAttempt(false);
        return 0;
    }
    if (appState.resultsShown && wParam == VK_RETURN) {
        resetAttempt(false);
        return 0;
    }
    if (appState.resultsShown && wParam == 0x52) {  // the R key: r and R alike
        resetAttempt(true);
        return 0;
    }
    return DefWindowProcW(window, WM_KEYDOWN, wParam, lParam);
}

LRESULT onMainPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    // Only what needs painting: under Wine a pass costs by the pixel it reads back.
    paintQuoteWithin(paint.rcPaint);
    EndPaint(window, &paint);
    return 0;
}

LRESULT onMainActivate(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        noteFocusedChild(window);
        return 0;
    }
    if (canTakeFocus(window, GetFocus()) || giveFocusBack(window))
        return 0;
    return DefWindowProcW(window, WM_ACTIVATE, wParam, lParam);
}

LRESULT onMainSysCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    // Wine minimises a window without deactivating it, and restoring one gives the focus to the
    // window itself (as Windows does): the focus is noted here, and WM_SETFOCUS passes it on.
    if ((wParam & 0xFFF0) == SC_MINIMIZE)
        noteFocusedChild(window);
    return DefWindowProcW(window, WM_SYSCOMMAND, wParam, lParam);
}

void forgetWindowHandles()
{
    // The children and the owned settings window go with the main window.
    appState.mainWindow = nullptr;
    appState.typingEdit = nullptr;
    appState.newTextButton = nullptr;
    appState.resultsLabel = nullptr;
    appState.anotherTextButton = nullptr;
    appState.retryButton = nullptr;
    appState.settingsWindow = nullptr;
    appState.textSizeEdit = nullptr;
    appState.fontFamilyCombo = nullptr;
    appState.focusBeforeDeactivation = nullptr;
}

}  // namespace

void layoutChildren()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    const RECT client = appState.clientRect;
    resizeRenderTarget();
    rebuildTextLayout();

    const ResultsControlPlaces results = resultsControlPlaces(client);
    moveControl(appState.resultsLabel, results.resultsLabel);
    moveControl(appState.anotherTextButton, results.anotherTextButton);
    moveControl(appState.retryButton, results.retryButton);

    // The button takes the box's client height as it is before the box moves: after a change of
    // the text size it reaches the new height one pass later (saveSettings asks for two).
    const TypingControlPlaces typing = typingControlPlaces(client, clientHeight(appState.typingEdit));
    moveControl(appState.typingEdit, typing.typingEdit);
    moveControl(appState.newTextButton, typing.newTextButton);
}

void showAboutBox()
{
    // Closing the box activates the main window again, which gives the focus back where it was.
    MessageBoxW(appState.mainWindow,
                L"Paceword Version 1.0\n\n"
                L"Made by the Paceword team, for everyone who wants to type faster.\n\n"
                L"Questions and suggestions: hello@paceword.example",
                L"About Paceword", MB_OK);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return onMainCommand(window, wParam, lParam);
    case WM_PAINT:
        return onMainPaint(window);
    case WM_SIZE:
        layoutChildren();
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {200, 150};
        return 0;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(appState.backgroundBrush);
    case WM_KEYDOWN:
        return onMainKeyDown(window, wParam, lParam);
    case WM_ACTIVATE:
        return onMainActivate(window, wParam, lParam);
    case WM_SYSCOMMAND:
        return onMainSysCommand(window, wParam, lParam);
    case WM_SETFOCUS:
        giveFocusBack(window);
        return 0;
    case WM_GETOBJECT:
        return answerMainWindowObjectRequest(window, wParam, lParam);
    case WM_DESTROY:
        releaseAccessibleElements();
        forgetWindowHandles();
        PostQuitMessage(0);
        return 0;
    case WM_DESTROY_RETIRED_CONTROL: {
        HWND retired = reinterpret_cast<HWND>(wParam);
        if (IsWindow(retired) && GetParent(retired) == window)
            DestroyWindow(retired);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
