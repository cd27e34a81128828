#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the project's prefix (ctest's emulator).
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"
