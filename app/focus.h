// Where the keyboard focus goes in the main window: kept when the window goes inactive or is
// minimised, given back when it comes back.
#pragma once

#include <windows.h>

// Whether `child` is a visible child of `window` that can take the focus.
bool canTakeFocus(HWND window, HWND child);
// Notes the child of `window` that has the focus, to give it back later.
void noteFocusedChild(HWND window);
// Gives the noted child the focus, once; when it has gone meanwhile (a new text while the window
// was minimised), the typing box that took its place. False when there is none that can take it.
bool giveFocusBack(HWND window);
// Gives `window` the keyboard focus now; a child of a minimised main window (which gives none of
// its children the focus) gets it when the window is restored.
void giveFocusNowOrWhenRestored(HWND window);
