// The main window procedure and the layout of its child controls.
#pragma once

#include <windows.h>

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void layoutChildren();
void showAboutBox();
// Gives `window` the keyboard focus now; a child of a minimised main window (which gives none of
// its children the focus) gets it when the window is restored.
void giveFocusNowOrWhenRestored(HWND window);
