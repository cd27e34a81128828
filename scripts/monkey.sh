#!/usr/bin/env bash
# A long monkey run: builds Paceword.exe and the probe, then sends the real program N seeded
# random events (default 10000) under Wine in a private Xvfb display.
# Usage: scripts/monkey.sh [EVENTS] [SEED]   (the seed of a failed run replays it)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset mingw -DPACEWORD_TESTS=ON >/dev/null
cmake --build --preset mingw --target Paceword paceword_probe >/dev/null
scripts/make-wineprefix.sh "$PWD/build/wineprefix"
export WINEPREFIX=$PWD/build/wineprefix WINEDEBUG=-all
# The same server arrangement as the test run: one persistent wineserver, output in no pipe.
run() {
    wineserver -p >/dev/null 2>&1 </dev/null &
    trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
    wineboot >/dev/null 2>&1 </dev/null
    bash tests/e2e/monkey.sh "$PWD/build/windows/Paceword.exe" "$PWD/build/windows/paceword_probe.exe" "$@"
}
export -f run
scripts/with-display.sh bash -c 'run "$@"' run "${1:-10000}" ${2:+"$2"}
