// The typing test: quote library, attempt, results screen and reset.
#pragma once

#include <windows.h>

#include <cstdint>

// Quote library and random choice
void loadQuotes();
void seedRandomEngine();
void pickRandomQuote();
void prepareAttempt();

// Typing attempt
using ClockSource = int64_t (*)();
// Where clockNow reads the time: the steady clock; tests may point it at a clock of their own.
extern ClockSource clockSource;
int64_t clockNow();
LRESULT onTypingEditChanged();
void onTypingChanged();

// The typing box
// Puts typingEditProc in front of the box's own procedure, kept in savedEditProc.
void subclassTypingEdit();
// Catches Esc in the box for a new text; everything else goes on to the box.
LRESULT CALLBACK typingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Results screen
void showResults();

// New text and retry
LRESULT resetAttempt(bool keepQuote);
