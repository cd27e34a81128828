// The Direct2D and DirectWrite objects the quote is drawn with. Factories are made once and the
// text format again when the settings are saved; the render target and its brushes are made
// again when the device is lost.
#pragma once

#include <windows.h>
#include <d2d1.h>

#include <wrl/client.h>

bool runningUnderWine();
// Whether the render target to make is one bound to the window's DC (under Wine) rather than
// the window's own; tests may choose.
extern bool (*drawsThroughWindowDc)();
// Makes the window's own target at `size`, keeping its contents from one pass to the next. Tests
// may stand a bitmap in for the window's surface.
extern HRESULT (*makeWindowTarget)(D2D1_SIZE_U size, Microsoft::WRL::ComPtr<ID2D1RenderTarget>& target);
HRESULT makeWindowRenderTarget(D2D1_SIZE_U size, Microsoft::WRL::ComPtr<ID2D1RenderTarget>& target);

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

// The window's target follows the client size; a target bound to the DC needs nothing.
void resizeRenderTarget();
