// Drawing the quote with Direct2D and DirectWrite, and the red frame round the typing box.
#pragma once

#include <windows.h>

bool runningUnderWine();
// Whether the render target is bound to the window's DC (under Wine) rather than a window
// render target; tests may choose.
extern bool (*drawThroughWindowDc)();

// Start-up creation; each returns false when the object could not be made.
bool createD2dFactory();
bool createDeviceResources();  // the render target at the client size and the three brushes
void discardDeviceResources();
bool createDwriteFactory();
bool createTextFormat(const wchar_t* localeName);

void rebuildTextLayout();
void resizeRenderTarget();
void paintQuote();
void showMismatchFrame();
void clearMismatchFrame();
