// What screen readers get through UI Automation: the main window with the drawn quote and its
// current word as elements beneath it, the typing box with a name and a state, and a few
// announcements (the next word, a wrong text, the results).
//
// Nothing is made, loaded or raised until a client asks: the elements and uiautomationcore.dll
// come with the first request for the main window's or the box's element, and announcements
// need a client listening besides.
#pragma once

#include <windows.h>

#include <string>

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
