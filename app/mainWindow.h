// The main window procedure and the layout of its child controls.
#pragma once

#include <windows.h>

#include <string>

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void layoutChildren();
void showAboutBox();

// The typing controls at their layout places; both created hidden.
HWND createTypingEdit();
HWND createNewTextButton(int height);
void subclassTypingEdit();

// Hides a control at once, forgets its handle and destroys it once the message being handled
// (possibly the control's own) has returned.
void retireControl(HWND& control);

// The whole text of a window or control.
std::wstring windowText(HWND window);
