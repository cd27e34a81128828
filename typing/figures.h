// The speed figures of a finished attempt and the text that shows them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct AttemptFigures {
    double seconds = 0.0;
    double wordsPerMinute = 0.0;
    double charactersPerMinute = 0.0;
};

// Elapsed time in whole milliseconds, truncated, from two nanosecond clock readings; never less
// than 1 ms, so the speeds are always finite.
int64_t elapsedMilliseconds(int64_t startTime, int64_t endTime);

// seconds = ms / 1000, characters per minute = quote length / minutes, words per minute =
// characters per minute / 5 (a word is five characters).
AttemptFigures computeFigures(int64_t startTime, int64_t endTime, std::size_t quoteLength);

// The value rounded to two decimals (halves away from zero), in fixed notation with six
// decimals, less its trailing zeros; the point stays ("12.", "20.5", "58.53").
std::wstring formatFigure(double value);

// The results label: seconds, words per minute and characters per minute with their captions,
// an empty line between each.
std::wstring formatResultsText(const AttemptFigures& figures);
