#!/usr/bin/env bash
# The benchmarks: quote loading natively with Google Benchmark (arguments go to it) and in the
# Windows build under Wine, the program's start-up under Wine with a small and a large
# quotes.txt, then the time of each key in the real window under Wine in Xvfb.
# `scripts/bench.sh keystrokes` runs only the last; PACEWORD_QUOTE_LENGTH=20000 times the keys of
# a quote that long (its first 300 characters, from another process).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
only_keystrokes=
if [ "${1:-}" = keystrokes ]; then
    only_keystrokes=1
    shift
fi
if [ -z "$only_keystrokes" ]; then
    cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/bench --target quote_loading_benchmark -j2
    build/bench/quote_loading_benchmark "$@"
fi

cmake --preset mingw >/dev/null
cmake --build --preset mingw --target quote_loading_times keystroke_times cross_process_keys Paceword
scripts/make-wineprefix.sh "$PWD/build/wineprefix"
export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if [ -z "$only_keystrokes" ]; then
    echo "Windows build under Wine:"
    # Output through a file: a wineserver started here would hold a pipe open.
    (cd build/windows && wine ./quote_loading_times.exe >"$log" 2>&1)
    cat "$log"

    echo "Start-up of Paceword.exe under Wine (launch to the main window):"
    scripts/with-display.sh bash -c '
        wineserver -p >/dev/null 2>&1 </dev/null &
        trap "wineserver -k >/dev/null 2>&1 || true" EXIT
        wineboot >/dev/null 2>&1 </dev/null
        scripts/startupTimes.sh "$PWD/build/windows/Paceword.exe"'
fi

# Each window size in a display of its own, large enough for the window; the Wine server goes
# with the display, whose desktop process it would otherwise keep. In each, the keys are timed
# twice, one run after the other: typed within the program's own process, then sent from another
# process to the running program, as a user's keys come (through the X server and Wine).
for size in ${KEYSTROKE_SIZES:-default large}; do
    screen=1280x1024x24
    [ "$size" = large ] && screen=1920x1080x24
    echo "Keystrokes in the real window under Wine in Xvfb ($size window):"
    XVFB_SCREEN=$screen scripts/with-display.sh bash -c '
        size=$1 log=$2
        cd build/windows
        wine ./keystroke_times.exe "$size" >"$log" 2>&1
        cat "$log"
        work=$(mktemp -d)
        (cd "$work" && wine "$OLDPWD/cross_process_keys.exe" files "$size" >/dev/null 2>&1)
        (cd "$work" && exec wine "$OLDPWD/Paceword.exe" >/dev/null 2>&1 </dev/null) &
        program=$!
        wine ./cross_process_keys.exe 3 "$size" >"$log" 2>&1
        cat "$log"
        kill "$program" 2>/dev/null
        wineserver -k >/dev/null 2>&1 || true
        rm -rf "$work"' bash "$size" "$log"
done
