// The main window: command and key routing, painting, and the layout of its controls.
#include "app/mainWindow.h"

#include "app/appState.h"
#include "app/controls.h"
#include "render/quoteRendering.h"
#include "settings/settings.h"
#include "typing/typing.h"

namespace {

// The box is 1.3 times the text size high; its top comes from the unrounded product.
int typingEditHeight()
{
    return static_cast<int>(static_cast<double>(appState.textSize) * 1.3);
}

int typingEditTop()
{
    return static_cast<int>(appState.clientRect.bottom - static_cast<double>(appState.textSize) * 1.3 - 20);
}

int typingEditWidth()
{
    return appState.clientRect.right - appState.clientRect.left - 150;
}

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
    if (HIWORD(wParam) == EN_CHANGE && appState.typingEdit && reinterpret_cast<HWND>(lParam) == appState.typingEdit)
        return onTypingEditChanged();
    if (LOWORD(wParam) == CMD_NEW_TEXT || LOWORD(wParam) == CMD_ANOTHER_TEXT) {
        resetAttempt(false);
        return 0;
    }
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
    paintQuote();
    EndPaint(window, &paint);
    return 0;
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
}

}  // namespace

HWND createTypingEdit()
{
    return CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL, 20,
                           typingEditTop(), typingEditWidth(), typingEditHeight(), appState.mainWindow, nullptr,
                           appState.instance, nullptr);
}

HWND createNewTextButton(int height)
{
    return CreateWindowExW(0, L"Button", L"New text (Esc)", WS_CHILD | WS_CLIPSIBLINGS | BS_CENTER,
                           appState.clientRect.right - 110, appState.clientRect.bottom - 20 - height, 90, height,
                           appState.mainWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(CMD_NEW_TEXT)),
                           appState.instance, nullptr);
}

void layoutChildren()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    resizeRenderTarget();
    rebuildTextLayout();

    const LONG right = appState.clientRect.right;
    const LONG bottom = appState.clientRect.bottom;
    moveControl(appState.resultsLabel, controlPlace(20, bottom - 100, 220, 200));
    moveControl(appState.anotherTextButton, controlPlace(right - 185, bottom - 55, 165, 35));
    moveControl(appState.retryButton, controlPlace(right - 185, bottom - 105, 165, 35));

    // The button takes the edit's client height as it is before the edit moves.
    if (appState.typingEdit)
        GetClientRect(appState.typingEdit, &appState.editRect);
    GetClientRect(appState.mainWindow, &appState.clientRect);
    moveControl(appState.typingEdit, controlPlace(20, typingEditTop(), typingEditWidth(), typingEditHeight()));
    const int buttonHeight = appState.editRect.bottom - appState.editRect.top;
    moveControl(appState.newTextButton, controlPlace(appState.clientRect.right - 110,
                                                     appState.clientRect.bottom - 20 - buttonHeight, 90, buttonHeight));
}

void showAboutBox()
{
    // Closing the box activates the main window, whose default activation takes the keyboard
    // focus for itself: give it back to where it was, so typing goes on in the typing box.
    HWND focused = GetFocus();
    MessageBoxW(appState.mainWindow,
                L"Paceword Version 1.0\n\n"
                L"Made by the Paceword team, for everyone who wants to type faster.\n\n"
                L"Questions and suggestions: hello@paceword.example",
                L"About Paceword", MB_OK);
    if (focused && IsWindow(focused))
        SetFocus(focused);
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
    case WM_DESTROY:
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
