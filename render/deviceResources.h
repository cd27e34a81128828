// The Direct2D and DirectWrite objects the quote is drawn with: factories made once, the text
// format again with new settings, the target and its brushes again when the device is lost.
#pragma once

#include <windows.h>
#include <d2d1.h>

#include <wrl/client.h>

bool runningUnderWine();
// Whether the target to make is bound to the window's DC (under Wine) rather than the window's own,
// and how the window's own is made (keeping its contents from pass to pass): tests may choose, and
// stand a bitmap in for the window's surface.
extern bool (*drawsThroughWindowDc)();
extern HRESULT (*makeWindowTarget)(D2D1_SIZE_U size, Microsoft::WRL::ComPtr<ID2D1RenderTarget>& target);

// Ends a pass and returns what EndDraw says; a lost device shows only here. Tests may report one.
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
