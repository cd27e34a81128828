// What screen readers get through UI Automation: the main window with the drawn quote and its
// current word (or the results) as elements beneath it, the typing box with a name and a state, and a few
// announcements (the next word, a wrong text, the results).
//
// Nothing is made, loaded or raised until a client asks: the elements and uiautomationcore.dll
// come with the first request for the main window's or the box's element, and announcements
// need a client listening besides.
#pragma once

#include <windows.h>
// Not uiautomation.h: MinGW-w64's uiautomationcoreapi.h, which it includes, does not compile as
// C++ (a parameter named `new`). Its functions are loaded at run time anyway: MinGW-w64 has no
// import library for uiautomationcore.dll.
#include <uiautomationclient.h>

#include <string>

#ifndef __IValueProvider_INTERFACE_DEFINED__
#define __IValueProvider_INTERFACE_DEFINED__
// MinGW-w64 10's uiautomationcore.h stops before the pattern interfaces; Windows' SDK has it.
MIDL_INTERFACE("c7935180-6fb3-4201-b174-7df73adbf64a")
IValueProvider : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR val) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR * pRetVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL * pRetVal) = 0;
};
__CRT_UUID_DECL(IValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb, 0xf6, 0x4a)
#endif

// The object id with which a UI Automation client asks a window for its element.
constexpr LONG uiaRootObjectId = -25;

// WM_GETOBJECT for the main window and for the typing box: the element of each for a UI
// Automation client, default processing for every other request (the system's own accessible
// objects stay as they are).
LRESULT answerMainWindowObjectRequest(HWND window, WPARAM wParam, LPARAM lParam);
LRESULT answerTypingBoxObjectRequest(HWND box, WPARAM wParam, LPARAM lParam);

// The attempt's moments that a screen reader hears of: the box's text checked (wrong or not; only
// the turn to wrong is announced), a word completed with another to type, the results shown.
void noteTypedTextChecked(bool wrong);
void announceNextWord();
void announceResults();

// The main window is going: clients are told that its elements are no longer there.
void releaseAccessibleElements();

// Where announcements go when set: to the given function instead of to UI Automation, whether
// or not a client listens. For tests.
using AnnouncementRecorder = void (*)(const std::wstring& text);
extern AnnouncementRecorder announcementRecorder;
