#include "typing/figures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

const int64_t nanosecondsPerMillisecond = 1000000;

struct WorkedExample {
    std::size_t quoteLength;
    int64_t elapsedNanoseconds;
    const wchar_t* seconds;
    const wchar_t* wordsPerMinute;
    const wchar_t* charactersPerMinute;
};

// Elapsed times a tenth of a millisecond past the whole: the fraction must be cut, not rounded.
const WorkedExample workedExamples[] = {
    {100, 20504900000, L"20.5", L"58.53", L"292.63"},
    {60, 12000900000, L"12.", L"60.", L"300."},
    {43, 9999900000, L"10.", L"51.61", L"258.03"},
    {87, 23456700000, L"23.46", L"44.51", L"222.54"},
};

}  // namespace

TEST(figures, elapsedTimeIsCutToWholeMillisecondsAndAtLeastOne)
{
    EXPECT_EQ(elapsedMilliseconds(0, 1999999), 1);
    EXPECT_EQ(elapsedMilliseconds(5, 5 + 2999999), 2);
    EXPECT_EQ(elapsedMilliseconds(1000, 1000), 1);
    EXPECT_EQ(elapsedMilliseconds(0, 999999), 1);
    EXPECT_EQ(elapsedMilliseconds(2000000, 0), 1);
    // A clock reading that is already large, as after weeks of uptime.
    const int64_t start = INT64_C(4000000000000000000);
    EXPECT_EQ(elapsedMilliseconds(start, start + 20504900000), 20504);
}

TEST(figures, longAttemptsDoNotWrap)
{
    const int64_t thirtyDays = INT64_C(30) * 24 * 60 * 60 * 1000 * nanosecondsPerMillisecond;
    EXPECT_EQ(elapsedMilliseconds(0, thirtyDays), INT64_C(2592000000));
    const AttemptFigures figures = computeFigures(0, thirtyDays, 100);
    EXPECT_DOUBLE_EQ(figures.seconds, 2592000.0);
    EXPECT_GT(figures.charactersPerMinute, 0.0);
    EXPECT_EQ(formatFigure(figures.seconds), L"2592000.");
}

TEST(figures, instantAttemptCountsAsOneMillisecond)
{
    const AttemptFigures figures = computeFigures(42, 42, 10);
    EXPECT_EQ(figures.seconds, 0.001);
    EXPECT_TRUE(std::isfinite(figures.charactersPerMinute));
    EXPECT_TRUE(std::isfinite(figures.wordsPerMinute));
    EXPECT_EQ(formatFigure(figures.charactersPerMinute), L"600000.");
    EXPECT_EQ(formatFigure(figures.wordsPerMinute), L"120000.");
}

TEST(figures, workedExamplesShowAsExpected)
{
    for (const WorkedExample& example : workedExamples) {
        SCOPED_TRACE(example.quoteLength);
        const AttemptFigures figures = computeFigures(0, example.elapsedNanoseconds, example.quoteLength);
        EXPECT_EQ(formatFigure(figures.seconds), example.seconds);
        EXPECT_EQ(formatFigure(figures.wordsPerMinute), example.wordsPerMinute);
        EXPECT_EQ(formatFigure(figures.charactersPerMinute), example.charactersPerMinute);
    }
}

TEST(figures, figureLosesTrailingZerosButKeepsThePoint)
{
    EXPECT_EQ(formatFigure(12.0), L"12.");
    EXPECT_EQ(formatFigure(20.50), L"20.5");
    EXPECT_EQ(formatFigure(9.999), L"10.");
    EXPECT_EQ(formatFigure(0.0), L"0.");
    EXPECT_EQ(formatFigure(100.0), L"100.");
    EXPECT_EQ(formatFigure(1234.5678), L"1234.57");
    EXPECT_EQ(formatFigure(0.004), L"0.");
    // 0.125 is exact in binary, so this is a true half: it goes away from zero.
    EXPECT_EQ(formatFigure(0.125), L"0.13");
    EXPECT_EQ(formatFigure(-0.125), L"-0.13");
}

TEST(figures, resultsTextLinesUpTheCaptions)
{
    const WorkedExample& example = workedExamples[0];
    const std::wstring text = formatResultsText(computeFigures(0, example.elapsedNanoseconds, example.quoteLength));
    EXPECT_EQ(text, L"Seconds to type:            20.5\n\n"
                    L"Words per minute:         58.53\n\n"
                    L"Characters per minute:  292.63");

    // Each caption, with the empty line before it, takes 28, 28 and 26 units, blanks included.
    const std::wstring figures[] = {L"20.5", L"58.53", L"292.63"};
    const std::size_t captionLengths[] = {28, 28, 26};
    std::size_t pieceStart = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t figureStart = text.find(figures[i], pieceStart);
        // A figure not found, or found where no caption fits before it, is a failure, not a read
        // before the text.
        ASSERT_NE(figureStart, std::wstring::npos) << i;
        ASSERT_GT(figureStart, pieceStart) << i;
        EXPECT_EQ(figureStart - pieceStart, captionLengths[i]) << i;
        EXPECT_EQ(text[figureStart - 1], L' ') << i;
        pieceStart = figureStart + figures[i].size();
    }
    EXPECT_EQ(pieceStart, text.size());
}
