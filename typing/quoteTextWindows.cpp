// UTF-8 to UTF-16 in the Windows build, through the system's converter.
#include "typing/quoteText.h"

#include <windows.h>

#include <climits>

bool convertUtf8ToUtf16(const char* bytes, std::size_t count, std::wstring& text)
{
    text.clear();
    if (count == 0)
        return true;
    if (count > INT_MAX)
        return false;
    // MB_ERR_INVALID_CHARS: fail on a malformed sequence rather than put U+FFFD in its place.
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(count), nullptr, 0);
    if (length <= 0)
        return false;
    text.resize(static_cast<std::size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(count), &text[0], length) ==
           length;
}
