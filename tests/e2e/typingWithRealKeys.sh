#!/usr/bin/env bash
# A whole attempt with real keys: starts the real Paceword.exe under Wine with a one-quote library,
# types the quote through the X server, and follows the window title and the screen: the typed
# text in the box, the results label and buttons, a retry, a wrong character with its red frame
# (also after a resize), a new text with Esc, a second complete attempt and Enter; then a quote
# with curly quotes and a dash, saved as UTF-8 and as ANSI, typed with the keys ' " and -; and two
# real quotes with tabs, guillemets, an ellipsis and a dash.
# Usage: typingWithRealKeys.sh path/to/Paceword.exe path/to/paceword_probe.exe
#        (DISPLAY, WINEPREFIX and a running wineserver given)
# shellcheck disable=SC2317  # the helpers below are called through check
set -uo pipefail

quote="Quick brown fox jumps"
testName=typingWithRealKeys
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"
timerTitle="TIMER STARTED!!!!! GO! GO! GO!!! TYPE! TYPE! TYPE!!! FAST! FAST! FAST!!! GOOD LUCK! ......"


title() {
    xdotool getwindowname "$window" 2>/dev/null
}

# Waits up to 10 s for the window title to become $1.
titleBecomes() {
    for _ in $(seq 100); do
        [ "$(title)" = "$1" ] && return 0
        sleep 0.1
    done
    echo "  title is \"$(title)\", not \"$1\""
    return 1
}

# Prints the dark, white and red pixel counts of a rectangle of the client area on the screen
# (x y width height; negative x or y count from the right or bottom edge).
pixelCounts() {
    probeSays pixels "$@" && sed -n 's/^pixels //p' "$work/probe.txt"
}

# Waits up to 5 s for dark drawing on a white ground in a client rectangle (x y width height):
# text or a control that really reached the screen.
drawnOnWhite() {
    local dark=0 white=0
    for _ in $(seq 25); do
        read -r dark white _ <<<"$(pixelCounts "$@")"
        [ "$dark" -ge 40 ] && [ $((white * 2)) -ge $(($3 * $4)) ] && return 0
        sleep 0.2
    done
    echo "  $dark dark and $white white pixels of $(($3 * $4))"
    return 1
}

# Waits up to 5 s for the frame to show (or, with "none", to be gone): red pixels in the lowest
# 80 rows of the client area, where the typing box sits (20 pixels above the bottom, 26 high at
# the default text size) with its frame round it.
frameBecomes() {
    local red=0
    for _ in $(seq 25); do
        read -r _ _ red <<<"$(pixelCounts 0 -80 0 0)"
        if [ "$1" = shown ] && [ "$red" -ge 100 ]; then return 0; fi
        if [ "$1" = none ] && [ "$red" -eq 0 ]; then return 0; fi
        sleep 0.2
    done
    echo "  $red red pixels round the box"
    return 1
}

startPaceword
focusPaceword
check "the first paint shows no red frame" frameBecomes none

# What is typed shows in the box: its inside, clear of the border and the caret at its left.
typeKeys "${quote:0:3}"
check "the typed text shows in the box" drawnOnWhite 26 -43 60 20
typeKeys "${quote:3}"
check "typing the whole quote shows the results screen" titleBecomes "Good job! :D"
# The label (its upper 100 pixels lie inside the client area) and the two buttons.
check "the results label shows the figures" drawnOnWhite 20 -100 220 100
check "the two results buttons show" drawnOnWhite -185 -105 165 85

xdotool key r
check "r on the results screen retries" titleBecomes "Paceword"

typeKeys "x"
check "a wrong first character starts the clock" titleBecomes "$timerTitle"
check "a wrong character shows the red frame round the box" frameBecomes shown

# A resize moves the box to the new bottom edge and repaints the window: the frame must be drawn
# again there while the text is still wrong. The band checked lies wholly below the old box.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool windowsize "$window" $((WIDTH + 60)) $((HEIGHT + 100))
sleep 0.3
check "the frame shows again after a resize while the text is wrong" frameBecomes shown

xdotool key BackSpace
check "deleting the wrong character removes the frame" frameBecomes none

typeKeys "Qx"
xdotool key Escape
check "Esc gives a new text" titleBecomes "Paceword"
check "the new attempt shows no frame" frameBecomes none

typeKeys "${quote:0:3}"
check "the new box shows what is typed" drawnOnWhite 26 -43 60 20
typeKeys "${quote:3}"
check "the quote can be typed again after Esc" titleBecomes "Good job! :D"
xdotool key Return
check "Enter on the results screen gives a new text" titleBecomes "Paceword"

# Closing the window ends the program.
xdotool key alt+F4
check "Alt+F4 ends the program" waitForExit
stopProgram

# Typographic punctuation as quotes copied from the web or a word processor hold it, typed with
# the keys of a US keyboard.
for form in UTF-8 ANSI; do
    quote=$'Don\xe2\x80\x99t say \xe2\x80\x9cnever\xe2\x80\x9d \xe2\x80\x93 ever.'
    [ "$form" = ANSI ] && quote=$'Don\x92t say \x93never\x94 \x96 ever.'
    startPaceword
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 0.5
    typeKeys "Don't say \"never\" - ever."
    check "curly quotes and a dash in $form typed with ' \" and -" titleBecomes "Good job! :D"
    stopProgram
done

# Real quotes as public collections hold them: a German fortune with guillemets and the tabs
# before its author, and a quote from an npm list with an ellipsis and an em dash; each typed
# with the keys of a US keyboard (tabs with the space bar, the ellipsis with three full stops).
realQuotes=(
    $'Man sagt leise: \xc2\xbbich empfehle mich Ihnen\xc2\xab, wenn man den Hut von weitem zieht. \t\t-- Jean Paul'
    $'I never perfected an invention that I did not think about in terms of the service it might give others\xe2\x80\xa6 I find out what the world needs, then I proceed to invent. \xe2\x80\x94 Thomas Edison'
)
typedQuotes=(
    'Man sagt leise: "ich empfehle mich Ihnen", wenn man den Hut von weitem zieht.   -- Jean Paul'
    'I never perfected an invention that I did not think about in terms of the service it might give others... I find out what the world needs, then I proceed to invent. - Thomas Edison'
)
for i in 0 1; do
    quote=${realQuotes[$i]}
    startPaceword
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 0.5
    typeKeys "${typedQuotes[$i]}"
    check "a real quote typed to its results: ${typedQuotes[$i]:0:20}..." titleBecomes "Good job! :D"
    stopProgram
done

finish
