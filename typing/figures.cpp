#include "typing/figures.h"

#include <charconv>
#include <cmath>

int64_t elapsedMilliseconds(int64_t startTime, int64_t endTime)
{
    // Kept in 64 bits: 32 bits of milliseconds would wrap after 24.8 days.
    const int64_t milliseconds = (endTime - startTime) / 1000000;
    return milliseconds < 1 ? 1 : milliseconds;
}

AttemptFigures computeFigures(int64_t startTime, int64_t endTime, std::size_t quoteLength)
{
    AttemptFigures figures;
    const int64_t milliseconds = elapsedMilliseconds(startTime, endTime);
    figures.seconds = static_cast<double>(milliseconds) / 1000.0;
    const double minutes = figures.seconds / 60.0;
    figures.charactersPerMinute = static_cast<double>(quoteLength) / minutes;
    // From the unrounded characters per minute, so the two figures never disagree by rounding.
    figures.wordsPerMinute = figures.charactersPerMinute / 5.0;
    return figures;
}

std::wstring formatFigure(double value)
{
    const double rounded = std::round(value * 100.0) / 100.0;
    // to_chars and not swprintf: the Windows C runtimes do not all print doubles alike.
    // The largest double in fixed notation takes 309 digits, a sign and ".000000".
    char buffer[400];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, 6);
    std::wstring text(buffer, result.ptr);
    while (!text.empty() && text.back() == L'0') {
        text.pop_back();
    }
    return text;
}

std::wstring formatResultsText(const AttemptFigures& figures)
{
    return L"Seconds to type:            " + formatFigure(figures.seconds) + L"\n\nWords per minute:         " +
           formatFigure(figures.wordsPerMinute) + L"\n\nCharacters per minute:  " +
           formatFigure(figures.charactersPerMinute);
}
