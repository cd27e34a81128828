// Reading the main window's client area as pixels and comparing two readings: the one way the
// window tests (inside the program's process) and the probe (from another process, off the
// screen) tell whether what the window shows equals a whole repaint.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Where the quote starts on the client area, and the box it is laid out in: the client area less
// 40 pixels each way, never less than empty.
constexpr float quoteOrigin = 20.0f;
struct LayoutBox {
    float width, height;
};
inline LayoutBox quoteLayoutBox(const RECT& client)
{
    return {static_cast<float>(std::max<LONG>(client.right - 40, 0)),
            static_cast<float>(std::max<LONG>(client.bottom - 40, 0))};
}

// The red of the frame round the box, as it reaches the screen.
inline bool isRed(uint32_t pixel)
{
    return (pixel >> 16 & 0xFF) > 200 && (pixel >> 8 & 0xFF) < 60 && (pixel & 0xFF) < 60;
}

// The four strips of this width just outside `box`, where its frame shows: above, below, left, right.
inline std::array<RECT, 4> ringRound(const RECT& box, LONG width)
{
    return {
        RECT{box.left, box.top - width, box.right, box.top}, RECT{box.left, box.bottom, box.right, box.bottom + width},
        RECT{box.left - width, box.top, box.left, box.bottom}, RECT{box.right, box.top, box.right + width, box.bottom}};
}

struct ClientPixels {
    // The part of the client area read, from its top left: all of it, or on the screen only what
    // the screen holds of a window larger than it.
    RECT client = {};
    // The typing box's place, empty when there is none.
    RECT box = {};
    // Colour only: GDI and Direct2D fill the alpha byte differently and the screen never shows it.
    std::vector<uint32_t> pixels;
};

// Blanks the places of the visible child controls of `window`, which draw themselves, and notes
// the typing box's.
inline void leaveOutChildren(HWND window, ClientPixels& read)
{
    const LONG width = read.client.right, height = read.client.bottom;
    for (HWND child = GetWindow(window, GW_CHILD); child && !read.pixels.empty();
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        RECT place = {};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Edit") == 0)
            read.box = place;
        for (LONG y = std::max<LONG>(place.top, 0); y < std::min(place.bottom, height); ++y)
            for (LONG x = std::max<LONG>(place.left, 0); x < std::min(place.right, width); ++x)
                read.pixels[static_cast<size_t>(y) * width + x] = 0;
    }
}

// The client area of `window` as its own DC holds it, or as the screen shows it, the children
// left out unless asked for.
inline ClientPixels readClientPixels(HWND window, bool fromScreen, bool childrenLeftOut = true)
{
    ClientPixels read;
    GetClientRect(window, &read.client);
    POINT origin = {0, 0};
    if (fromScreen) {
        ClientToScreen(window, &origin);
        read.client.right = std::min<LONG>(read.client.right, GetSystemMetrics(SM_CXSCREEN) - origin.x);
        read.client.bottom = std::min<LONG>(read.client.bottom, GetSystemMetrics(SM_CYSCREEN) - origin.y);
    }
    const LONG width = read.client.right, height = read.client.bottom;
    if (width <= 0 || height <= 0)
        return read;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HWND sourceWindow = fromScreen ? nullptr : window;
    HDC source = GetDC(sourceWindow);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, source, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const uint32_t* first = static_cast<const uint32_t*>(bits);
        read.pixels.assign(first, first + static_cast<size_t>(width) * height);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(sourceWindow, source);
    for (uint32_t& pixel : read.pixels)
        pixel &= 0xFFFFFF;
    if (childrenLeftOut)
        leaveOutChildren(window, read);
    return read;
}

struct PixelDifference {
    // Pixels that differ (the tolerated outline's aside), where they lie, and the first few as
    // "(x,y) shown/whole".
    size_t count = 0;
    RECT within = {};
    std::string first;
    // Grey pixels that differ within the outline band.
    size_t outlinePixels = 0;
};

// Compares two readings of the same client area. Within `outlineBand` (may be empty) grey pixels
// are the faint outline an erased red frame leaves on a window render target until the band is
// drawn again: they are counted apart. The outline is black drawn at a fifth of a pixel's width:
// grey, never red.
inline PixelDifference comparePixels(const ClientPixels& shown, const ClientPixels& whole, const RECT& outlineBand = {})
{
    PixelDifference difference;
    const LONG width = std::max<LONG>(shown.client.right, 1);
    difference.within = {shown.client.right, shown.client.bottom, 0, 0};
    for (size_t i = 0; i < shown.pixels.size() && i < whole.pixels.size(); ++i) {
        const uint32_t pixel = shown.pixels[i];
        if (pixel == whole.pixels[i])
            continue;
        const POINT at = {static_cast<LONG>(i % width), static_cast<LONG>(i / width)};
        const bool grey = (pixel & 0xFF) == (pixel >> 8 & 0xFF) && (pixel & 0xFF) == (pixel >> 16 & 0xFF);
        if (grey && PtInRect(&outlineBand, at)) {
            ++difference.outlinePixels;
            continue;
        }
        if (difference.count++ < 5)
            difference.first += " (" + std::to_string(at.x) + "," + std::to_string(at.y) + ") " +
                                std::to_string(pixel) + "/" + std::to_string(whole.pixels[i]);
        difference.within = {std::min(difference.within.left, at.x), std::min(difference.within.top, at.y),
                             std::max(difference.within.right, at.x + 1), std::max(difference.within.bottom, at.y + 1)};
    }
    return difference;
}
