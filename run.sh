#!/usr/bin/env bash
# Builds Paceword.exe and starts it under Wine in the working folder run/ (or PACEWORD_FOLDER),
# which holds quotes.txt and settings.txt. The shipped quotes.txt is copied there when missing.
set -euo pipefail
cd "$(dirname "$0")"
here=$PWD
# Said before anything is installed or built: without a display there is nothing to show it on.
if [ -z "${DISPLAY:-}" ]; then
  echo "Paceword is a desktop program and needs a display: DISPLAY is not set." >&2
  echo "Run ./run.sh from a desktop session (or, to try it without a screen, under xvfb-run from the xvfb package)." >&2
  exit 1
fi
scripts/install-deps.sh run
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Paceword
scripts/make-wineprefix.sh "$here/build/wineprefix"

folder=${PACEWORD_FOLDER:-$here/run}
mkdir -p "$folder"
[ -f "$folder/quotes.txt" ] || cp quotes.txt "$folder/quotes.txt"
cd "$folder"
WINEPREFIX=$here/build/wineprefix WINEDEBUG=-all exec wine "$here/build/windows/Paceword.exe"
