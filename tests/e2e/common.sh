# shellcheck shell=bash disable=SC2154  # the sourcing script sets testName
# Shared by the end-to-end tests: starting the real Paceword.exe under Wine on a quote library,
# finding its window, asking the probe, the tally of checks, and stopping only our own process.
# Every test takes the program (or what holds it) and the probe first; the caller sets testName,
# and quote or folder. Given: DISPLAY, WINEPREFIX and a running wineserver.
exe=${1:?usage: ${0##*/} PROGRAM paceword_probe.exe ...}
probe=${2:?usage: ${0##*/} PROGRAM paceword_probe.exe ...}
export WINEDEBUG=-all
passed=0
failed=0
work=$(mktemp -d)
pid=
window=

stopProgram() {
    # The wineserver is shared with other tests: end only our own process.
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null
    fi
    [ -n "$pid" ] && wait "$pid" 2>/dev/null
    pid=
}
trap 'stopProgram; rm -rf "$work"' EXIT

# Runs the probe with these commands, its answer in $work/probe.txt.
# A probe that failed without a word is asked once more (seen a few times in long runs, on
# several commands; its cause is not known yet: what Wine said is printed, for the next one).
probeSays() {
    local status=0
    (cd "$work" && wine "$probe" "$@" >"$work/probe.txt" 2>"$work/probe.err" </dev/null) || status=$?
    if [ "$status" -ne 0 ] && [ ! -s "$work/probe.txt" ]; then
        echo "  the probe failed without a word (status $status): $(tail -c 300 "$work/probe.err" | tr '\n' ' ')"
        (cd "$work" && wine "$probe" "$@" >"$work/probe.txt" 2>"$work/probe.err" </dev/null)
        return
    fi
    return "$status"
}

# Waits up to 10 s for the program to end; true when it did.
waitForExit() {
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null; pid=; return 0; }
        sleep 0.1
    done
    return 1
}

pass() {
    passed=$((passed + 1))
    echo "ok: $1"
}
fail() {
    failed=$((failed + 1))
    echo "FAILED: $1"
}
finish() {
    echo "$testName: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    exit
}
check() {  # check DESCRIPTION COMMAND...: passes when the command succeeds
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

# Starts the program in $folder (the work folder unless the caller set one) with $quote as its
# library (the folder's own quotes.txt when $quote is empty) and waits up to 30 s for its window;
# ends the test when none comes.
startPaceword() {
    folder=${folder:-$work}
    [ -n "${quote:-}" ] && printf '%s\n' "$quote" >"$folder/quotes.txt"
    # The output goes to a file, never a pipe: a Wine process that outlives us would hold it.
    (cd "$folder" && exec wine "$exe" >"$work/wine.log" 2>&1 </dev/null) &
    pid=$!
    for _ in $(seq 60); do
        window=$(xdotool search --onlyvisible --name '^Paceword$' 2>/dev/null | head -n 1)
        [ -n "$window" ] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.5
    done
    fail "no window titled Paceword appeared within 30 s (wine log below)"
    cat "$work/wine.log"
    finish
}

# There is no window manager on the private display: gives the window the X input focus
# directly; inside it the typing box has the keyboard focus from the start.
focusPaceword() {
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    sleep 0.5
}

# Types real keys into the window that has the focus.
typeKeys() {
    xdotool type --delay 30 "$1"
}

# Sets cw ch cx cy (the client area on the screen, as the window itself reports it: the X window
# holds the menu bar too, whose height only Windows knows), aw ah ax ay (the text area on the
# screen) and dark (its dark pixels).
readTextArea() {
    dark=0
    probeSays state
    read -r cw ch cx cy <<<"$(sed -n 's/^client //p' "$work/probe.txt")"
    [ -n "${cy:-}" ] || return 1
    # The text area starts at client (20, 20): a margin of 5 round it, down to half the client
    # height so that the typing box and the button stay out.
    # shellcheck disable=SC2034  # ax and ay are for the sourcing script
    aw=$((cw - 30)) ah=$((ch / 2 - 15)) ax=$((cx + 15)) ay=$((cy + 15))
    probeSays pixels 15 15 "$aw" "$ah"
    read -r _ dark _ <"$work/probe.txt"
    dark=${dark:-0}
}

# Waits up to 10 s for the first paint, the text area no longer blank, and reads the text area
# once more (dark is 0 when none came). Ends the test when the client area cannot be found.
waitForQuote() {
    for _ in $(seq 40); do
        readTextArea && [ "$dark" -gt 0 ] && break
        sleep 0.25
    done
    if [ -z "${cy:-}" ]; then
        fail "cannot find the client area of the Paceword window"
        finish
    fi
    # A moment for the paint to finish, then the count that is judged.
    sleep 0.5
    readTextArea
}
