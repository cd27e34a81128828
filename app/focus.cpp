// The keyboard focus goes back where it was when the window comes back (after another window,
// the About box, or minimised and restored): by default the main window would take it for
// itself, and typed keys would go nowhere while the clock runs. Dialogs keep their focus the same
// way: noted when the window goes inactive, given back when it is active again.
#include "app/focus.h"

#include "app/appState.h"

bool canTakeFocus(HWND window, HWND child)
{
    // A child retired meanwhile is hidden; one destroyed is no longer a child.
    return child && IsChild(window, child) && IsWindowVisible(child);
}

void noteFocusedChild(HWND window)
{
    HWND focused = GetFocus();
    appState.focusBeforeDeactivation = canTakeFocus(window, focused) ? focused : nullptr;
}

bool giveFocusBack(HWND window)
{
    HWND focus = appState.focusBeforeDeactivation;
    appState.focusBeforeDeactivation = nullptr;
    if (focus && !canTakeFocus(window, focus))
        focus = appState.typingEdit;
    if (!canTakeFocus(window, focus))
        return false;
    SetFocus(focus);
    return true;
}

void giveFocusNowOrWhenRestored(HWND window)
{
    SetFocus(window);
    if (GetFocus() != window && window && IsChild(appState.mainWindow, window))
        appState.focusBeforeDeactivation = window;
}
