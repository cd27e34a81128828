// The typing test: quote library, attempt, results screen and reset.
#pragma once

#include <windows.h>

#include <cstdint>

// Quote library and random choice
// False when the library holds no line to type.
bool loadQuotes();
void seedRandomEngine();
// A random quote: its index, its decoded text and its words.
void pickRandomQuote();
// The attempt's progress from its start: the first word to type.
void prepareAttempt();
// Lets the typing box hold the current quote's longest word, however it is typed.
void limitTypingEdit();

// Typing attempt
using ClockSource = int64_t (*)();
// Where clockNow reads the time: the steady clock; tests may point it at a clock of their own.
extern ClockSource clockSource;
int64_t clockNow();
// A change in the typing box: the first of an attempt starts the clock and retitles the main
// window, then every change is checked against the current word.
void startClockOnFirstChange();
void onTypingChanged();

// The typing box and the "New text (Esc)" button
struct TypingControlPlaces {
    RECT typingEdit;
    RECT newTextButton;
};
// Their places in the main window's client area `client`; the button is `buttonHeight` high.
TypingControlPlaces typingControlPlaces(const RECT& client, int buttonHeight);
// Makes both, hidden, at their places: the button in buttonFont, the box subclassed.
void createTypingControls();
// Catches Esc in the box for a new text; everything else goes on to the box.
LRESULT CALLBACK typingEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Results screen
struct ResultsControlPlaces {
    RECT resultsLabel;
    RECT anotherTextButton;
    RECT retryButton;
};
ResultsControlPlaces resultsControlPlaces(const RECT& client);
void showResults();

// New text and retry
void resetAttempt(bool keepQuote);
