// Fuzzes the settings file's reader and writer and the settings window's checks against the C
// library and against each other. An input is the bytes of a settings.txt; its first four bytes
// also serve as the bits of a stored size, so every float reaches the writer.
#include "settings/settingsText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}

bool sameFloat(float a, float b)
{
    if (std::isnan(a) || std::isnan(b)) {
        return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
    }
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The reader must take what strtof takes in the "C" locale (the fuzzer never sets a locale).
// The one allowed difference is the band at the smallest normal float, where strtof's range
// error depends on exactness: there both answers must leave no usable size.
void checkReaderAgainstStrtof(const std::string& line)
{
    float read = 0.0f;
    const bool readOk = readLeadingFloat(line, read);
    char* numberEnd = nullptr;
    errno = 0;
    const float expected = std::strtof(line.c_str(), &numberEnd);
    // glibc reads the payload of "nan(...)" as an integer and leaves that read's ERANGE behind
    // when it overflows; a NaN is never out of a float's range.
    const bool expectedOk = numberEnd != line.c_str() && (errno != ERANGE || std::isnan(expected));
    if (readOk && expectedOk) {
        require(sameFloat(read, expected), "the reader reads the number strtof reads");
        return;
    }
    if (readOk != expectedOk) {
        const float tiny = std::fabs(expected);
        require(tiny > 0.0f && tiny <= std::numeric_limits<float>::min(),
                "the reader and strtof agree on a range error");
        require(!readOk || !isUsableTextSize(read), "a size at the smallest normal float is not used");
    }
}

void checkWriterAndRoundTrip(float size, const std::wstring& family)
{
    char printed[64];
    std::snprintf(printed, sizeof printed, "%.6g", static_cast<double>(size));
    require(formatTextSize(size) == printed, "the size is written as %.6g writes it");

    const std::string written = formatSettingsText(size, family);
    float readSize = defaultTextSize;
    std::wstring readFamily = defaultFontFamily;
    parseSettingsText(written, readSize, readFamily);
    // "20" CR LF with nothing after it is a file without a family line: an empty family, which
    // the reader makes of a second empty line, is written so and comes back as the default.
    require(readFamily == (family.empty() ? std::wstring(defaultFontFamily) : family), "the family reads back");
    // Six significant digits: a usable size reads back as one that is written the same way.
    if (isUsableTextSize(size)) {
        require(isUsableTextSize(readSize), "a usable size reads back usable");
        require(formatTextSize(readSize) == formatTextSize(size), "writing what was read changes nothing");
    }
}

void checkSettingsWindowValues(const std::wstring& text, float size)
{
    float fieldSize = -1.0f;
    if (readSizeField(text, fieldSize)) {
        require(!text.empty() &&
                    std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }),
                "only digits are a size");
        require(fieldSize >= 10.0f && fieldSize <= 90.0f && fieldSize == std::trunc(fieldSize),
                "a typed size is a whole number from 10 to 90");
    } else {
        require(fieldSize == -1.0f, "a rejected size leaves the size alone");
    }
    // The field shows the size cut to whole units; saving it unchanged gives that, held to 10..90.
    if (std::isfinite(size) && size >= 0.0f && size < 1e9f) {
        float saved = -1.0f;
        require(readSizeField(formatSizeField(size), saved), "the shown size can be saved");
        require(saved == std::min(std::max(std::trunc(size), 10.0f), 90.0f), "saving the shown size keeps it");
    }

    static const std::vector<std::wstring> families{L"Arial",   L"Calibri",      L"Courier New",
                                                    L"Georgia", L"Segoe Script", L"Times New Roman"};
    const bool listed = std::find(families.begin(), families.end(), text) != families.end();
    require(isOfferedFamily(families, text) == listed, "the family check finds exactly the listed names");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    float textSize = defaultTextSize;
    std::wstring fontFamily = defaultFontFamily;
    parseSettingsText(bytes, textSize, fontFamily);
    require(fontFamily.find(L'\n') == std::wstring::npos, "the family holds no line feed");

    checkReaderAgainstStrtof(bytes.substr(0, bytes.find('\n')));
    checkWriterAndRoundTrip(textSize, fontFamily);
    if (size >= 4) {
        float bits = 0.0f;
        std::memcpy(&bits, data, sizeof bits);
        checkWriterAndRoundTrip(bits, fontFamily);
        checkSettingsWindowValues(fontFamily, bits);
    } else {
        checkSettingsWindowValues(fontFamily, textSize);
    }
    return 0;
}
