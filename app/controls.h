// Helpers for the child controls of the program's windows: making and placing them, showing
// them, their fonts and texts, and retiring one from inside its own message handling.
#pragma once

#include <windows.h>

#include <string>

// A rectangle given as the layout tables give it: left, top, width, height.
RECT controlPlace(LONG left, LONG top, LONG width, LONG height);

// A child control of `parent` at `place` (the parent's client coordinates), hidden unless
// `style` says WS_VISIBLE; `id` is its command id, 0 for none.
HWND createControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& place,
                   int id = 0);

// Moves a control to `place` and repaints it; a null control (not on this screen) is skipped.
void moveControl(HWND control, const RECT& place);

// Shows a window and paints it at once, before the next message is handled.
void showAndUpdate(HWND window);

void setControlFont(HWND control, HFONT font, bool redraw);

// The height of a window's client area; 0 for a null window.
int clientHeight(HWND window);

// The whole text of a window or control.
std::wstring windowText(HWND window);

// Hides a control at once, forgets its handle and destroys it once the message being handled
// (possibly the control's own) has returned.
void retireControl(HWND& control);

// A GDI font for the controls: cell height `height`, the given weight and face, all else default.
HFONT createControlFont(int height, int weight, const wchar_t* face);
// The typing box's font: `textSize` truncated, normal weight, face `fontFamily`.
HFONT createEditFont();
