// The Direct2D and DirectWrite objects the quote is drawn with. Factories are made once and the
// text format again when the settings are saved; the render target and its brushes are made
// again when the device is lost.
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

// The window render target follows the client size; a target bound to the DC needs nothing.
void resizeRenderTarget();
