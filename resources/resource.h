// Every resource and command id of Paceword, shared by the resource script, the program and its
// tests. Plain #defines: the resource compiler reads this file too and understands nothing else.
#pragma once

// String table
#define IDS_APP_TITLE 103
#define IDS_WINDOW_CLASS 109

// Icon groups: the large one and the small one of the title bar
#define IDI_PACEWORD 107
#define IDI_SMALL 108

// The main window's menu and its accelerator table
#define IDC_PACEWORD 109

// Commands of the main window: its menu, its buttons and the results screen's buttons
#define CMD_NEW_TEXT 100
#define CMD_ANOTHER_TEXT 103
#define CMD_ABOUT 104
#define CMD_RETRY 105
#define CMD_SETTINGS 32772

// The settings window's class
#define SETTINGS_WINDOW_CLASS L"sName"

// Commands of the settings window
#define CMD_SAVE 101
#define CMD_CANCEL 102
