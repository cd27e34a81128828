// Start-up and the message loop.
#pragma once

#include <windows.h>

bool registerMainWindowClass(HINSTANCE instance);
bool initializeApplication(HINSTANCE instance, int showCommand);

// wWinMain's steps before the loop: COM, the strings, the class, initializeApplication, the
// accelerators, the typing box's font and focus. False when the program cannot start.
bool setUpBeforeMessageLoop(HINSTANCE instance, int showCommand, HACCEL& accelerators);

// Offers the message to accelerator translation against the window it is addressed to, then
// translates character keys and dispatches it.
void translateAndDispatch(MSG& message, HACCEL accelerators);
int runMessageLoop(HACCEL accelerators);

// Start-up failures end the program with a message naming what failed.
void reportStartupFailure(const wchar_t* what);
