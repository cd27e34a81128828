// The one process-wide record that every part of the program reads and writes.
#pragma once

#include "resources/resource.h"

#include <windows.h>
#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>
// Not uiautomation.h, whose API header MinGW-w64 cannot compile as C++ (see accessibility.cpp).
#include <uiautomationclient.h>

#include "typing/quoteLibrary.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

using Microsoft::WRL::ComPtr;

// Private message: destroy a control that was retired from inside its own message handling.
// The posted message arrives after that handling has returned.
constexpr UINT WM_DESTROY_RETIRED_CONTROL = WM_APP + 1;

struct AppState {
    // Window handles
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HWND typingEdit = nullptr;
    HWND newTextButton = nullptr;
    HWND resultsLabel = nullptr;
    HWND anotherTextButton = nullptr;
    HWND retryButton = nullptr;
    HWND settingsWindow = nullptr;
    HWND textSizeEdit = nullptr;
    HWND fontFamilyCombo = nullptr;
    HWND desktopWindow = nullptr;
    // The main window's child that had the keyboard focus when the window was last deactivated.
    HWND focusBeforeDeactivation = nullptr;
    WNDPROC savedEditProc = nullptr;

    // Window-class data
    wchar_t windowTitle[100] = {};
    wchar_t windowClassName[100] = {};
    WNDCLASSEXW settingsWindowClass = {};
    ATOM settingsClassAtom = 0;

    // Rectangles
    // The main window's client area as last read.
    RECT clientRect = {};
    // The typing box's window rectangle in the main window's client coordinates where the renderer
    // last drew round it (its record). The layout measures the box itself.
    RECT editRect = {};

    // Quote data and attempt progress
    // The library as read: the file's bytes and its line table; a line is decoded when picked.
    QuoteLibrary quotes;
    int32_t quoteIndex = 0;
    // The line at quoteIndex as UTF-16, decoded with the pick: what is drawn and typed.
    std::wstring currentQuote;
    std::vector<std::wstring> words;
    int32_t wordIndex = 0;
    int32_t typedCount = 0;
    int32_t underlineLength = 0;

    // Flags
    bool timerStarted = false;
    bool resultsShown = false;
    // The red frame shows round the box now (the renderer's record).
    bool mismatchShown = false;
    // The box's text is not a beginning of the current word, as the attempt last found it.
    bool boxTextWrong = false;

    // Clock and results
    int64_t startTime = 0;
    int64_t endTime = 0;
    double wordsPerMinute = 0.0;
    double charactersPerMinute = 0.0;

    // Settings values
    float textSize = 0.0f;
    std::wstring fontFamily;
    std::vector<std::wstring> fontFamilies;

    // GDI objects
    HFONT editFont = nullptr;
    HFONT buttonFont = nullptr;
    HBRUSH backgroundBrush = nullptr;

    // Direct2D and DirectWrite objects, one reference each
    ComPtr<ID2D1Factory> d2dFactory;
    // The window render target; under Wine a render target bound to the window's DC instead
    // (see createDeviceResources).
    ComPtr<ID2D1RenderTarget> renderTarget;
    ComPtr<ID2D1SolidColorBrush> blackBrush;
    ComPtr<ID2D1SolidColorBrush> redBrush;
    ComPtr<ID2D1SolidColorBrush> whiteBrush;
    ComPtr<IDWriteFactory> dwriteFactory;
    ComPtr<IDWriteTextFormat> textFormat;
    ComPtr<IDWriteTextLayout> textLayout;

    // UI Automation elements (accessibility.cpp), made when a client first asks; one reference
    // each. The box's is made again for each new box.
    ComPtr<IRawElementProviderSimple> mainWindowElement;
    ComPtr<IRawElementProviderSimple> quoteElement;
    ComPtr<IRawElementProviderSimple> belowQuoteElement;
    ComPtr<IRawElementProviderSimple> typingBoxElement;
    // What was last announced to a screen reader, while one listens.
    std::wstring announcement;

    // Random generator (default-seeded with 5489 until start-up seeds it)
    std::mt19937 randomEngine;
};

extern AppState appState;

// The values static initialisation gives before wWinMain runs: the offered font families,
// the default-seeded engine and the white background brush. Tests call it again to start afresh.
void initializeStaticState();
