# Shared by the end-to-end tests: starting the real Paceword.exe under Wine with a quote library
# of one line, finding its window, the tally of checks, and stopping only our own process.
# The caller sets: testName, exe, quote. Given: DISPLAY, WINEPREFIX and a running wineserver.
export WINEDEBUG=-all
passed=0
failed=0
work=$(mktemp -d)
shot="$work/screen.png"
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

# Starts the program in the work folder with $quote as its library and waits up to 30 s for
# its window; ends the test when none comes.
startPaceword() {
    printf '%s\n' "$quote" >"$work/quotes.txt"
    # The output goes to a file, never a pipe: a Wine process that outlives us would hold it.
    (cd "$work" && exec wine "$exe" >"$work/wine.log" 2>&1 </dev/null) &
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

# Prints "width height x y" of the client area on the screen. Wine gives the client area an X
# child window of its own below the menu bar: the largest child. Without one, the window less a
# menu bar of 20 pixels stands in for it.
clientGeometry() {
    local child
    child=$(xwininfo -tree -id "$window" |
        awk 'match($0, /[0-9]+x[0-9]+[+-][0-9]+[+-][0-9]+ +[+-][0-9]+[+-][0-9]+$/) {
                 split(substr($0, RSTART), f, /[x+ ]+/)
                 if (f[1] * f[2] > best) { best = f[1] * f[2]; line = f[1] " " f[2] " " f[5] " " f[6] }
             }
             END { if (line) print line }')
    if [ -n "$child" ]; then
        echo "$child"
    else
        eval "$(xdotool getwindowgeometry --shell "$window")"
        echo "$WIDTH $((HEIGHT - 20)) $X $((Y + 20))"
    fi
}
