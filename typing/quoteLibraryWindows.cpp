// UTF-8 to UTF-16 and the composed form of a text in the Windows build, through the system's
// converter and normalisation.
#include "typing/quoteLibrary.h"
#include "typing/typedText.h"

#include <windows.h>

#include <climits>

bool convertUtf8ToUtf16(const char* bytes, std::size_t count, std::wstring& text)
{
    text.clear();
    if (count == 0)
        return true;
    if (count > static_cast<std::size_t>(INT_MAX))
        return false;
    // MB_ERR_INVALID_CHARS: fail on a malformed sequence rather than put U+FFFD in its place.
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(count), nullptr, 0);
    if (length <= 0)
        return false;
    text.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(count), &text[0], length) ==
           length;
}

std::wstring composeText(const std::wstring& text)
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX / 2))
        return text;
    // The composed form is rarely longer than the text; the first call says how much room it
    // wants when it is, and a second call with that room settles it.
    std::wstring composed(text.size() + 16, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int length = NormalizeString(NormalizationC, text.c_str(), static_cast<int>(text.size()), &composed[0],
                                           static_cast<int>(composed.size()));
        if (length > 0) {
            composed.resize(static_cast<std::size_t>(length));
            return composed;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            break;
        const int wanted = NormalizeString(NormalizationC, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
        if (wanted <= 0)
            break;
        composed.assign(static_cast<std::size_t>(wanted), L'\0');
    }
    return text;
}
