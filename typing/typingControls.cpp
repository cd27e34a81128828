// The typing box and the "New text (Esc)" button: where they go, how they are made, and the
// box's own procedure, put in front of the Edit control's to catch Esc.
#include "app/accessibility.h"
#include "app/appState.h"
#include "app/controls.h"
#include "typing/typing.h"

namespace {

void subclassTypingEdit()
{
    appState.savedEditProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(appState.typingEdit, GWLP_WNDPROC));
    SetWindowLongPtrW(appState.typingEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(typingEditProc));
}

}  // namespace

TypingControlPlaces typingControlPlaces(const RECT& client, int buttonHeight)
{
    // The box is 1.3 times the text size high; its top comes from the unrounded product.
    const double editHeight = static_cast<double>(appState.textSize) * 1.3;
    const LONG editTop = static_cast<LONG>(client.bottom - editHeight - 20);
    return {controlPlace(20, editTop, client.right - client.left - 150, static_cast<LONG>(editHeight)),
            controlPlace(client.right - 110, client.bottom - 20 - buttonHeight, 90, buttonHeight)};
}

void createTypingControls()
{
    GetClientRect(appState.mainWindow, &appState.clientRect);
    const RECT& client = appState.clientRect;
    appState.typingEdit =
        createControl(appState.mainWindow, L"Edit", L"", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL,
                      typingControlPlaces(client, 0).typingEdit);
    // The button is as high as the box's client area, a border's width less than the box.
    appState.newTextButton =
        createControl(appState.mainWindow, L"Button", L"New text (Esc)", WS_CHILD | WS_CLIPSIBLINGS | BS_CENTER,
                      typingControlPlaces(client, clientHeight(appState.typingEdit)).newTextButton, CMD_NEW_TEXT);
    setControlFont(appState.newTextButton, appState.buttonFont, false);
    if (appState.typingEdit)
        subclassTypingEdit();
    limitTypingEdit();
}

LRESULT CALLBACK typingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The reset retires this very box; nothing here touches it afterwards. The key is handled
    // here and never reaches the Edit control.
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        resetAttempt(false);
        return 0;
    }
    if (message == WM_GETOBJECT)
        return answerTypingBoxObjectRequest(window, wParam, lParam);
    return CallWindowProcW(appState.savedEditProc, window, message, wParam, lParam);
}
