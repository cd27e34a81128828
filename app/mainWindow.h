// The main window procedure and the layout of its child controls.
#pragma once

#include <windows.h>

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void layoutChildren();
void showAboutBox();
