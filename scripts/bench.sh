#!/usr/bin/env bash
# The quote loading benchmark: natively with Google Benchmark (arguments go to it), then the
# Windows build's timings under Wine, then the program's start-up under Wine with a small and a
# large quotes.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench --target quote_loading_benchmark -j2
build/bench/quote_loading_benchmark "$@"

cmake --preset mingw >/dev/null
cmake --build --preset mingw --target quote_loading_times Paceword
scripts/make-wineprefix.sh "$PWD/build/wineprefix"
echo "Windows build under Wine:"
log=$(mktemp)
# Output through a file: a wineserver started here would hold a pipe open.
(cd build/windows && WINEPREFIX=$PWD/../wineprefix WINEDEBUG=-all wine ./quote_loading_times.exe >"$log" 2>&1)
cat "$log"
rm -f "$log"

echo "Start-up of Paceword.exe under Wine (launch to the main window):"
scripts/with-display.sh bash -c '
    export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all
    wineserver -p >/dev/null 2>&1 </dev/null &
    trap "wineserver -k >/dev/null 2>&1 || true" EXIT
    wineboot >/dev/null 2>&1 </dev/null
    scripts/startupTimes.sh "$PWD/build/windows/Paceword.exe"'
