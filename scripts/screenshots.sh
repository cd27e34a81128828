#!/usr/bin/env bash
# Makes the README's pictures: starts Paceword under Wine in a private Xvfb display with a fixed
# quote, window size and clock (the paceword_screenshots build), drives it with real keys and
# saves the ready screen, typing in progress, the results screen and the settings window as PNGs
# in docs/ (or the folder given). The same sources give the same pictures on every run. Fails
# when the program does not reach one of the screens.
# Usage: scripts/screenshots.sh [FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$here/docs}" && cd "${1:-$here/docs}" && pwd)

if [ -z "${PACEWORD_SCREENSHOTS_INSIDE:-}" ]; then
    cd "$here"
    scripts/install-deps.sh
    cmake --preset mingw >/dev/null
    cmake --build --preset mingw --target paceword_screenshots >/dev/null
    scripts/make-wineprefix.sh "$here/build/wineprefix"
    PACEWORD_SCREENSHOTS_INSIDE=1 exec scripts/with-display.sh "$0" "$out"
fi

export WINEPREFIX=$here/build/wineprefix WINEDEBUG=-all
quote="The quick brown fox jumps over the lazy dog."
work=$(mktemp -d)
pid=
# One persistent server, its output in a file: one started by a wine call would hold our output.
wineserver -p >/dev/null 2>&1 </dev/null &
cleanUp() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanUp EXIT
wineboot >/dev/null 2>&1 </dev/null

die() {
    echo "screenshots.sh: $1" >&2
    exit 1
}

# Waits up to 10 s for a visible window with this exact title and prints its id.
windowTitled() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$id" ] && echo "$id" && return 0
        sleep 0.1
    done
    return 1
}

# Saves the window (its caption and frame included) as NAME.png once its picture has settled:
# two screenshots a moment apart that agree. The PNG carries no time stamps, so a rerun that
# draws the same gives the same file.
shoot() {
    local name=$1 window=$2 geometry previous='' current
    # The window's place is read each time too: read once, just after the window appeared, it
    # was now and then the whole screen's.
    for _ in $(seq 20); do
        sleep 0.3
        eval "$(xdotool getwindowgeometry --shell "$window")"
        geometry=${WIDTH}x${HEIGHT}+${X}+${Y}
        current=$geometry$(import -window root -crop "$geometry" +repage rgb:- 2>/dev/null | md5sum)
        [ "$current" = "$previous" ] && break
        previous=$current
    done
    import -window root -crop "$geometry" +repage -strip "$out/$name.png"
    echo "$out/$name.png"
}

printf '%s\r\n' "$quote" >"$work/quotes.txt"
(cd "$work" && exec wine "$here/build/windows/paceword_screenshots.exe" >"$work/wine.log" 2>&1 </dev/null) &
pid=$!
window=$(windowTitled Paceword) || die "no Paceword window (wine log: $(cat "$work/wine.log"))"
# The window shows at its default size first and takes the fixed one just after: on a busy
# machine two screenshots of the first could agree, and the picture was of that.
for _ in $(seq 100); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "${WIDTH}x$HEIGHT" = 760x400 ] && break
    sleep 0.1
done
# No window manager runs: give the window the input focus; the typing box inside has it already.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
shoot ready "$window"

# The first word, part of the second and a wrong letter: the red frame shows round the box.
xdotool type --delay 40 "The quick bro"
xdotool type --delay 40 "x"
windowTitled "TIMER STARTED.*" >/dev/null || die "typing did not start the clock"
shoot typing "$window"

xdotool key BackSpace
xdotool type --delay 40 "${quote:13}"
windowTitled "Good job! :D" >/dev/null || die "the quote typed in full did not show the results"
shoot results "$window"

# Enter gives a new text; then F10 takes the keyboard to the menu bar, Right to "Settings".
xdotool key Return
windowTitled Paceword >/dev/null || die "Enter on the results screen gave no new text"
xdotool key F10 Right Return
settings=$(windowTitled Settings) || die "the settings window did not open"
shoot settings "$settings"
