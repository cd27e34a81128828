// Starts the real program in this process, in a folder of its own, and drives its windows
// with real messages.
#pragma once

#include "app/appState.h"
#include "app/controls.h"
#include "app/mainWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <string>
#include <thread>

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

// Rectangles compare and print as their four edges.
bool operator==(const RECT& a, const RECT& b);
void PrintTo(const RECT& rect, std::ostream* out);

RECT clientRectOf(HWND window);
// A child's window rectangle in its parent's client coordinates, and its height there.
RECT placeInParent(HWND child);
LONG heightInParent(HWND child);

// Keys and characters arrive where the keyboard focus is, as the message loop would deliver
// them; the queue is pumped afterwards.
void pressKey(UINT virtualKey);
void typeText(const std::wstring& text);

// What the band round the typing box may show that a whole repaint of the same state does not.
enum class BoxBand {
    asRepainted,
    // The faint outline that an erased red frame leaves on the window render target, which Windows
    // draws through, until the scene changes: grey there, and on Windows it must show. Wine draws
    // it as nothing, so the band is as repainted there.
    erasedFrameOutline,
};

// The screen is what a whole repaint of the same state draws: the main window's pixels are read,
// a whole repaint is asked for as the system asks for one, and the pixels are read again. The
// child controls draw themselves and are left out; colours are compared, not the alpha byte,
// which GDI and Direct2D fill differently and the screen never shows.
void expectScreenEqualsWholeRepaint(const char* after, BoxBand band = BoxBand::asRepainted);

// Presses OK, from another thread, in every message box with this title that comes until
// finish(), and notes whether one came, its owner and its text (read them after finish()).
struct MessageBoxWatcher {
    explicit MessageBoxWatcher(const std::wstring& title);
    ~MessageBoxWatcher();
    void finish();

    bool seen = false;
    HWND owner = nullptr;
    std::wstring text;

  private:
    std::atomic<bool> stopping{false};
    std::thread watcher;
};

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
