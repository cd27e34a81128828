// Helpers for the child controls of the program's windows.
#include "app/controls.h"

#include "app/appState.h"
#include "app/focus.h"

RECT controlPlace(LONG left, LONG top, LONG width, LONG height)
{
    return RECT{left, top, left + width, top + height};
}

HWND createControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& place, int id)
{
    return CreateWindowExW(0, className, text, style, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           appState.instance, nullptr);
}

void moveControl(HWND control, const RECT& place)
{
    if (control)
        MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
}

void showAndUpdate(HWND window)
{
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

void setControlFont(HWND control, HFONT font, bool redraw)
{
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

int clientHeight(HWND window)
{
    RECT client = {};
    if (window)
        GetClientRect(window, &client);
    return client.bottom - client.top;
}

std::wstring windowText(HWND window)
{
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

void retireControl(HWND& control)
{
    if (!control)
        return;
    HWND retired = control;
    control = nullptr;
    // Hidden first: the main window, given the focus, must not hand it back to this control.
    const bool focused = GetFocus() == retired;
    ShowWindow(retired, SW_HIDE);
    if (focused)
        giveFocusNowOrWhenRestored(appState.mainWindow);
    PostMessageW(appState.mainWindow, WM_DESTROY_RETIRED_CONTROL, reinterpret_cast<WPARAM>(retired), 0);
}

HFONT createControlFont(int height, int weight, const wchar_t* face)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

HFONT createEditFont()
{
    return createControlFont(static_cast<int>(appState.textSize), FW_NORMAL, appState.fontFamily.c_str());
}
