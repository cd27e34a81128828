// UTF-8 to UTF-16 for the native build (tests, fuzzing, benchmarks) through the C library's
// iconv, a converter of its own beside the UTF-8 check in quoteLibrary.cpp: the two agreeing on
// every file is part of what the tests check.
#include "typing/quoteLibrary.h"
#include "typing/typedText.h"

#include <iconv.h>
#include <unicode/unorm2.h>

bool convertUtf8ToUtf16(const char* bytes, std::size_t count, std::wstring& text)
{
    text.clear();
    if (count == 0)
        return true;
    iconv_t converter = iconv_open("UTF-16LE", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    // Never more units than bytes.
    std::string units(2 * count, '\0');
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = count;
    char* out = &units[0];
    std::size_t outLeft = units.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0)
        return false;
    text.resize((units.size() - outLeft) / 2);
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(static_cast<unsigned char>(units[2 * i]) |
                                       static_cast<unsigned char>(units[2 * i + 1]) << 8);
    return true;
}

// The composed form through ICU, which follows the same Unicode tables as Windows'
// normalisation (each of its own version).
std::wstring composeText(const std::wstring& text)
{
    std::u16string units(text.begin(), text.end());
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* composer = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status) || units.size() > INT32_MAX / 2)
        return text;
    std::u16string composed(units.size() + 16, u'\0');
    int32_t length = unorm2_normalize(composer, units.data(), static_cast<int32_t>(units.size()), composed.data(),
                                      static_cast<int32_t>(composed.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        composed.assign(static_cast<std::size_t>(length), u'\0');
        status = U_ZERO_ERROR;
        length = unorm2_normalize(composer, units.data(), static_cast<int32_t>(units.size()), composed.data(),
                                  static_cast<int32_t>(composed.size()), &status);
    }
    if (U_FAILURE(status))
        return text;
    return std::wstring(composed.begin(), composed.begin() + length);
}
