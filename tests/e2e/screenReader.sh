#!/usr/bin/env bash
# What a screen reader finds through UI Automation, read from another process while an attempt
# is typed with real keys: the quote, the word to type after each completed word (beneath the
# quote and in the box's name), the box's state around a wrong letter, the results' figures as
# the label shows them, and the new quote after Esc.
# Usage: screenReader.sh path/to/Paceword.exe path/to/paceword_probe.exe
#        path/to/paceword_screen_reader_client.exe   (DISPLAY, WINEPREFIX and a running wineserver given)
# shellcheck disable=SC2317  # the helpers below are called through check
set -uo pipefail

testName=screenReader
client=${3:?usage: ${0##*/} PROGRAM paceword_probe.exe paceword_screen_reader_client.exe}
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"
# Two quotes of seven words: the attempt types whichever the reader reads.
lines=("Quick brown fox jumps over lazy dogs" "Seven silent swans swim past green reeds")
quote="${lines[0]}"$'\n'"${lines[1]}"

# What the client reads, in $work/client.txt.
readElements() {
    (cd "$work" && wine "$client" >"$work/client.txt" 2>"$work/client.err" </dev/null)
}

# Waits up to 5 s for the client to read the line "$1" (e.g. "below fox").
reads() {
    for _ in $(seq 25); do
        readElements && grep -qxF "$1" "$work/client.txt" && return 0
        sleep 0.2
    done
    echo "  read instead: $(tr '\n' '|' <"$work/client.txt") $(tail -c 200 "$work/client.err")"
    return 1
}

startPaceword
focusPaceword

# Reads the quote; true when it is one of the library's lines, its words then in $words.
readsAQuote() {
    readElements
    local read
    read=$(sed -n 's/^quote //p' "$work/client.txt")
    read -ra words <<<"$read"
    [ "$read" = "${lines[0]}" ] || [ "$read" = "${lines[1]}" ] || { echo "  read: $read"; return 1; }
}

check "the ready screen's quote is read" readsAQuote
check "its first word is read beneath it" reads "below ${words[0]:-}"
check "the box is named by the word to type" reads "box Type the word: ${words[0]:-}"
for i in 1 2 3 4 5; do
    typeKeys "${words[$((i - 1))]} "
    check "after word $i the next word is read: ${words[$i]}" reads "below ${words[$i]}"
done
check "the box's name follows the words" reads "box Type the word: ${words[5]}"
check "the box is valid while its text is right" reads "valid 1"
typeKeys "${words[5]:0:1}x"
check "a wrong letter makes the box invalid" reads "valid 0"
xdotool key BackSpace
check "Backspace makes it valid again" reads "valid 1"
typeKeys "${words[5]:1} ${words[6]}"
probeSays state
# The label shows "12." where the figure is whole; the client reads "12".
mapfile -t figures < <(grep -F 'child Static' "$work/probe.txt" | grep -oE '[0-9]+\.[0-9]*' | tail -n 3 | sed 's/\.$//')
check "the results label shows three figures" test "${#figures[@]}" -eq 3
check "the results' figures are read beneath the quote" \
    reads "below ${figures[1]:-} words per minute, ${figures[2]:-} characters per minute, ${figures[0]:-} seconds"
check "no box is read on the results screen" bash -c "! grep -q '^box' '$work/client.txt'"

xdotool key Escape
sleep 0.5
check "after Esc the new quote is read" readsAQuote
check "and its first word" reads "below ${words[0]:-}"
stopProgram
finish
