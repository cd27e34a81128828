#include "settings/settingsText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace {

bool isCWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The end of a hexadecimal number after its "0x", as strtof takes it: digits, a point, digits,
// and an exponent only when a decimal digit follows the 'p' and its one optional sign. from_chars
// is given just this much: libstdc++'s hexadecimal parser takes a "-" after a "+" in the exponent
// and would read 0x1p+-3 as 0.125 where strtof stops at the 'p' and reads 1.
const char* endOfHexNumber(const char* position, const char* end)
{
    while (position != end && isHexDigit(*position)) {
        ++position;
    }
    if (position != end && *position == '.') {
        ++position;
        while (position != end && isHexDigit(*position)) {
            ++position;
        }
    }
    if (position != end && (*position == 'p' || *position == 'P')) {
        const char* exponent = position + 1;
        if (exponent != end && (*exponent == '+' || *exponent == '-')) {
            ++exponent;
        }
        if (exponent != end && *exponent >= '0' && *exponent <= '9') {
            position = exponent;
            while (position != end && *position >= '0' && *position <= '9') {
                ++position;
            }
        }
    }
    return position;
}

// Takes the next line from `bytes` at `position` as getline would: true when reading it took at
// least one byte, even if only the LF. The LF is consumed and a CR just before it dropped.
// The same for a text of UTF-16 units.
template <typename Text> bool takeLine(const Text& bytes, std::size_t& position, Text& line)
{
    if (position >= bytes.size()) {
        return false;
    }
    const std::size_t lineFeed = bytes.find('\n', position);
    const std::size_t end = lineFeed == Text::npos ? bytes.size() : lineFeed;
    std::size_t length = end - position;
    if (lineFeed != Text::npos && length > 0 && bytes[end - 1] == '\r') {
        --length;
    }
    line.assign(bytes, position, length);
    position = lineFeed == Text::npos ? bytes.size() : lineFeed + 1;
    return true;
}

// A file that Notepad saved as "Unicode": UTF-16 after its byte-order mark (FF FE little-endian,
// FE FF big-endian), read into `text` without the mark. False for any other file.
bool readUtf16Text(const std::string& bytes, std::wstring& text)
{
    const bool littleEndian = bytes.compare(0, 2, "\xFF\xFE") == 0;
    if (!littleEndian && bytes.compare(0, 2, "\xFE\xFF") != 0)
        return false;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const unsigned first = static_cast<unsigned char>(bytes[i]);
        const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<wchar_t>(littleEndian ? first | second << 8 : second | first << 8);
    }
    return true;
}

// The size and family lines of a UTF-16 file: the size as one byte a unit (units past U+00FF
// can be no part of a number), the family as it stands.
void parseUtf16SettingsText(const std::wstring& text, float& textSize, std::wstring& fontFamily)
{
    std::size_t position = 0;
    std::wstring line;
    if (!takeLine(text, position, line)) {
        return;
    }
    std::string sizeLine;
    for (const wchar_t unit : line)
        sizeLine += static_cast<std::uint32_t>(unit) <= 0xFF ? static_cast<char>(unit) : '?';
    float size = 0.0f;
    if (readLeadingFloat(sizeLine, size)) {
        textSize = size;
    }
    if (takeLine(text, position, line)) {
        fontFamily = line;
    }
}

}  // namespace

// Not strtof: the Windows C runtimes differ in what they accept (hexadecimal forms, "infinity",
// "nan(...)"), so the parse goes through from_chars, which reads the same everywhere. from_chars
// takes no '+' and would take a second '-', so the sign is read here and applied afterwards.
bool readLeadingFloat(const std::string& line, float& value)
{
    const char* position = line.data();
    const char* const end = line.data() + line.size();
    while (position != end && isCWhiteSpace(*position)) {
        ++position;
    }
    bool negative = false;
    if (position != end && (*position == '+' || *position == '-')) {
        negative = *position == '-';
        ++position;
    }
    if (position == end || *position == '+' || *position == '-') {
        return false;
    }

    float parsed = 0.0f;
    std::from_chars_result result{};
    const bool hexadecimal =
        end - position >= 3 && position[0] == '0' && (position[1] == 'x' || position[1] == 'X') &&
        (isHexDigit(position[2]) || (position[2] == '.' && end - position >= 4 && isHexDigit(position[3])));
    if (hexadecimal) {
        result = std::from_chars(position + 2, endOfHexNumber(position + 2, end), parsed, std::chars_format::hex);
    } else {
        // A "0x" without hex digits after it reads as the 0 alone, as strtof does.
        result = std::from_chars(position, end, parsed, std::chars_format::general);
    }
    if (result.ec != std::errc()) {
        return false;
    }
    // from_chars hands back results below the smallest normal float; strtof reports a range error
    // for them (all but the few exact ones such as 0x1p-149, which are no usable size either), and
    // a range error keeps the default.
    if (parsed != 0.0f && std::fabs(parsed) < std::numeric_limits<float>::min()) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

void parseSettingsText(const std::string& bytes, float& textSize, std::wstring& fontFamily)
{
    std::wstring utf16Text;
    if (readUtf16Text(bytes, utf16Text)) {
        parseUtf16SettingsText(utf16Text, textSize, fontFamily);
        return;
    }
    // Some editors put a UTF-8 byte-order mark before the text they save; it is not part of the
    // size. The file is written back without it.
    std::size_t position = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::string line;
    if (!takeLine(bytes, position, line)) {
        return;
    }
    float size = 0.0f;
    if (readLeadingFloat(line, size)) {
        textSize = size;
    }
    if (!takeLine(bytes, position, line)) {
        return;
    }
    fontFamily.resize(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        fontFamily[i] = static_cast<wchar_t>(static_cast<unsigned char>(line[i]));
    }
}

std::string formatTextSize(float textSize)
{
    // Six significant digits as "%g" writes them; the largest double form fits easily.
    char buffer[64];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(textSize), std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

std::string formatSettingsText(float textSize, const std::wstring& fontFamily)
{
    const std::string size = formatTextSize(textSize);
    // A family past U+00FF (read from a file saved as "Unicode") is written back the same way:
    // UTF-16 little-endian after its mark. Otherwise one byte a unit, as the file always was.
    const bool needsUtf16 = std::any_of(fontFamily.begin(), fontFamily.end(),
                                        [](wchar_t unit) { return static_cast<std::uint32_t>(unit) > 0xFF; });
    if (needsUtf16) {
        std::string text = "\xFF\xFE";
        auto addUnit = [&text](std::uint32_t unit) {
            text += static_cast<char>(unit & 0xFF);
            text += static_cast<char>(unit >> 8 & 0xFF);
        };
        for (const char digit : size + "\r\n")
            addUnit(static_cast<unsigned char>(digit));
        for (const wchar_t unit : fontFamily)
            addUnit(static_cast<std::uint32_t>(unit) & 0xFFFF);
        return text;
    }
    std::string text = size + "\r\n";
    for (const wchar_t unit : fontFamily)
        text += static_cast<char>(static_cast<unsigned char>(unit));
    return text;
}

bool isUsableTextSize(float textSize)
{
    return std::isfinite(textSize) && textSize >= smallestUsableTextSize && textSize <= largestUsableTextSize;
}

std::wstring formatSizeField(float textSize)
{
    // Clamped in double before the conversion: a float outside int's range makes the cast
    // undefined. The field only ever shows sizes of a few digits.
    double truncated = std::trunc(static_cast<double>(textSize));
    if (std::isnan(truncated)) {
        truncated = 0.0;
    }
    const double lowest = static_cast<double>(std::numeric_limits<int>::min());
    const double highest = static_cast<double>(std::numeric_limits<int>::max());
    truncated = std::min(std::max(truncated, lowest), highest);
    return std::to_wstring(static_cast<int>(truncated));
}

bool readSizeField(const std::wstring& text, float& textSize)
{
    if (text.empty()) {
        return false;
    }
    for (const wchar_t unit : text) {
        if (unit < L'0' || unit > L'9') {
            return false;
        }
    }
    std::size_t first = 0;
    while (first < text.size() && text[first] == L'0') {
        ++first;
    }
    // More than three significant digits is far above 90, whatever they are; fewer cannot
    // overflow an int.
    int value = 90;
    if (text.size() - first <= 3) {
        value = 0;
        for (std::size_t i = first; i < text.size(); ++i) {
            value = value * 10 + static_cast<int>(text[i] - L'0');
        }
    }
    textSize = static_cast<float>(std::min(std::max(value, 10), 90));
    return true;
}

bool isOfferedFamily(const std::vector<std::wstring>& families, const std::wstring& text)
{
    return std::find(families.begin(), families.end(), text) != families.end();
}
