#!/usr/bin/env bash
# Runs the Windows tests under Wine; expects a display (scripts/with-display.sh gives one).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix} WINEDEBUG=-all
# One persistent server, started apart with its output in a file: a server started by a wine
# call inherits that call's output pipe and ctest would wait for it to exit.
# The same goes for the services (winedevice, explorer) that the first wine call starts: a
# wineboot with its output in /dev/null starts them before ctest runs anything.
wineserver -p >/dev/null 2>&1 </dev/null &
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineboot >/dev/null 2>&1 </dev/null
cd "$here/build/windows"
ctest --output-on-failure --timeout 900 "$@"
