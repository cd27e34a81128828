// The settings file's reader and writer, and the checks of the settings window's values.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr float defaultTextSize = 20.0f;
constexpr const wchar_t* defaultFontFamily = L"Arial";
// The smallest stored size the fonts are built from: below it the typing box and the button
// beside it are 0 pixels high and the quote too small to see, so it falls back to the default.
constexpr float smallestUsableTextSize = 1.0f;
// The largest stored size the fonts are built from; a larger one falls back to the default.
constexpr float largestUsableTextSize = 1000.0f;
// How much of settings.txt is read: far more than its two lines ever need. Of a larger file (or
// a link to a device without end) only this beginning is read; the file is left as it is.
constexpr std::size_t maxSettingsFileBytes = std::size_t(64) << 20;

// Reads the longest number at the start of `line` as the C library reads a float in the "C"
// locale: leading white space, a sign, digits with a point, fraction and exponent, inf,
// infinity, nan, hexadecimal forms; trailing text is ignored. False when there is no number or
// it is out of a float's range (overflow, or a result below the smallest normal float).
bool readLeadingFloat(const std::string& line, float& value);

// Applies the bytes of settings.txt over `textSize` and `fontFamily` (which hold the defaults):
// line 1 gives the size when it starts with a number in range, line 2 the family as it stands.
// Each byte becomes the UTF-16 unit of the same value; LF ends a line, a CR before it is dropped.
// A UTF-8 byte-order mark at the start of the file is not part of line 1; after a UTF-16 mark
// (a file saved as "Unicode") the file is read as UTF-16.
void parseSettingsText(const std::string& bytes, float& textSize, std::wstring& fontFamily);

// The size in general notation with six significant digits ("20", "12.5", "1.5e+07").
std::string formatTextSize(float textSize);

// The whole file: the size, CR LF, the family, no line end after it; one byte per unit, or, when
// the family holds a unit above U+00FF, UTF-16 little-endian after its byte-order mark.
std::string formatSettingsText(float textSize, const std::wstring& fontFamily);

// A stored size the fonts can be built from: finite, from smallestUsableTextSize to
// largestUsableTextSize.
bool isUsableTextSize(float textSize);

// The size field's text: the size truncated toward zero, in decimal digits ("12" for 12.75).
std::wstring formatSizeField(float textSize);

// The size typed in the settings window: not empty and only digits 0-9, read without overflow
// and held to 10..90. False leaves the size as it was.
bool readSizeField(const std::wstring& text, float& textSize);

// True when `text` equals one of `families` exactly (case and blanks count).
bool isOfferedFamily(const std::vector<std::wstring>& families, const std::wstring& text);
