// Starts the real program in this process, in a folder of its own, and drives its windows
// with real messages.
#pragma once

#include "app/appState.h"
#include "app/controls.h"
#include "app/mainWindow.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <string>

// Makes a fresh working folder for the running test holding quotes.txt (and settings.txt when
// given), then runs the program's start-up there. False when start-up gave up.
bool startProgram(const std::string& quotesBytes, const std::string* settingsBytes = nullptr,
                  int showCommand = SW_SHOWNORMAL);
// Destroys whatever the program left, drains the queue and gives the process a fresh state.
void stopProgram();

// Handles every queued message as the program's loop would (accelerators included).
void pumpMessages();

std::string readWorkFile(const char* name);
void writeWorkFile(const char* name, const std::string& bytes);
bool workFileExists(const char* name);

RECT clientRectOf(HWND window);
// A child's window rectangle in its parent's client coordinates.
RECT placeInParent(HWND child);

// Keys and characters arrive where the keyboard focus is, as the message loop would deliver
// them; the queue is pumped afterwards.
void pressKey(UINT virtualKey);
void typeText(const std::wstring& text);

// Waits (on another thread) for a message box with this title, reads its text and presses OK.
std::future<std::wstring> answerMessageBox(const std::wstring& title);

// A clock the tests set by hand, for exact elapsed times.
extern int64_t fakeClockNanoseconds;
void useFakeClock();

// Every test starts and stops the program; the fixture stops it whatever the test did.
class ProgramTest : public ::testing::Test {
  protected:
    void TearDown() override
    {
        stopProgram();
    }
};
