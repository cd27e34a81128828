#!/usr/bin/env bash
# The quote really reaches the screen: starts the real Paceword.exe under Wine with a one-quote
# library, takes a screenshot of the X display and checks that the quote is drawn in the text area
# with its first word, and only that word, underlined.
# Usage: quoteOnScreen.sh path/to/Paceword.exe path/to/paceword_probe.exe
#        (DISPLAY, WINEPREFIX and a running wineserver given)
set -uo pipefail

quote="Typing fast is a skill that grows with patient practice every day"
testName=quoteOnScreen
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"

startPaceword

waitForQuote
echo "client area ${cw}x${ch} at ${cx},${cy}; ${dark:-0} dark pixels in the text area"
if [ "${dark:-0}" -ge 300 ]; then
    pass "the quote is drawn in the text area"
else
    fail "only ${dark:-0} dark pixels in the text area: the quote is not drawn"
fi

# One line of grey levels (0 black to 255 white) per screen row of the text area, as the X
# display shows it.
band="$work/band.txt"
import -window root "$work/screen.png" 2>/dev/null
convert "$work/screen.png" -crop "${aw}x${ah}+${ax}+${ay}" +repage -colorspace Gray -depth 8 gray:- |
    od -An -v -tu1 -w"$aw" >"$band"

# The first line of text runs from its first dark row until four blank rows follow one another
# (the underline and the descenders lie within it). The underline of the first word is the only
# long horizontal dark run in it: it starts where the line starts and is much shorter than the
# line. Prints: line width, line height, longest underline run, rows with a long run elsewhere.
verdict=$(awk -v long=20 '
    lineDone { next }
    {
        runStart = 0; longest = 0; longestStart = 0; darkInRow = 0
        for (i = 1; i <= NF + 1; i++) {
            if (i <= NF && $i < 128) {
                darkInRow++
                if (!runStart) runStart = i
                if (!lineLeft || i < lineLeft) lineLeft = i
                if (i > lineRight) lineRight = i
            } else if (runStart) {
                if (i - runStart > longest) { longest = i - runStart; longestStart = runStart }
                runStart = 0
            }
        }
        if (darkInRow) {
            if (!first) first = NR
            blank = 0
            rowLongest[NR] = longest; rowLongestStart[NR] = longestStart; last = NR
        } else if (first && ++blank >= 4) {
            lineDone = 1
        }
    }
    END {
        if (!first) { print "none"; exit }
        width = lineRight - lineLeft + 1
        underline = 0; stray = 0
        for (r = first; r <= last; r++) {
            if (rowLongest[r] < long) continue
            if (rowLongestStart[r] <= lineLeft + 3 && rowLongest[r] < width / 4) {
                if (rowLongest[r] > underline) underline = rowLongest[r]
            } else {
                stray++
            }
        }
        print width, last - first + 1, underline, stray
    }' "$band")
read -r lineWidth lineHeight underline stray <<<"$verdict"
if [ "$lineWidth" = none ]; then
    fail "no line of text found in the text area"
    finish
fi
echo "first line: ${lineWidth} px wide, ${lineHeight} rows; underline run ${underline} px;" \
    "long runs elsewhere in ${stray} rows"
if [ "$underline" -ge 20 ]; then
    pass "the first word is underlined"
else
    fail "no dark run of at least 20 px under the first word"
fi
if [ "$stray" -eq 0 ]; then
    pass "the rest of the first line is not underlined"
else
    fail "long dark runs in ${stray} rows away from the first word: more than the first word is underlined"
fi

stopProgram
finish
