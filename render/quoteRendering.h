// Drawing the quote with Direct2D and DirectWrite, and the red frame round the typing box.
#pragma once

#include <windows.h>
#include <d2d1.h>

bool runningUnderWine();
// Whether the render target is bound to the window's DC (under Wine) rather than a window
// render target; tests may choose.
extern bool (*drawThroughWindowDc)();

// Ends a drawing pass and returns what EndDraw says. A lost device (a driver reset, sleep, a
// remote session) shows only here; tests point it at a function that reports one.
HRESULT endDrawOnTarget(ID2D1RenderTarget* target);
extern HRESULT (*endDrawing)(ID2D1RenderTarget* target);

// Start-up creation; each returns false when the object could not be made.
bool createD2dFactory();
bool createDeviceResources();  // the render target at the client size and the three brushes
void discardDeviceResources();
bool createDwriteFactory();
bool createTextFormat(const wchar_t* localeName);

void rebuildTextLayout();
void resizeRenderTarget();
// The whole client area: the quote with the current word underlined, and the red frame while
// the box's text is wrong.
void paintQuote();
// What a whole repaint would draw, only within `area` (client pixels): the part of the window
// that a paint message asks for, such as what the typing box uncovers when the results come.
void paintQuoteWithin(const RECT& area);
// After a completed word: only the boxes of the word that lost its underline and of the one that
// gained it, and the frame's band while a frame or its hairline shows there.
void paintCompletedWord();
// The whole client area again with the mark that shows round the box now (the hairline included);
// every partial pass leaves exactly what this draws.
void repaintShownScene();
void showMismatchFrame();
void clearMismatchFrame();
