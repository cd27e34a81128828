// The settings file and the settings window.
#pragma once

#include <windows.h>

void loadSettings();
// Stores the size and family; false when the file could not be written (the old one then stays
// whole).
bool writeSettings();

bool registerSettingsWindowClass();
void openSettingsWindow();
LRESULT CALLBACK settingsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void saveSettings();
