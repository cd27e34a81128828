// The typing box's own procedure, put in front of the Edit control's to catch Esc.
#include "app/appState.h"
#include "typing/typing.h"

void subclassTypingEdit()
{
    appState.savedEditProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(appState.typingEdit, GWLP_WNDPROC));
    SetWindowLongPtrW(appState.typingEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(typingEditProc));
}

LRESULT CALLBACK typingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The reset retires this very box; nothing here touches it afterwards.
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE)
        return resetAttempt(false);
    return CallWindowProcW(appState.savedEditProc, window, message, wParam, lParam);
}
