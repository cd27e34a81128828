#!/usr/bin/env bash
# Makes the Windows package, build/windows/Paceword-VERSION-win64.zip: Paceword.exe from the
# MinGW-w64 release build, the shipped quotes.txt and README.txt for Windows users.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Paceword
(cd build/windows && cpack --config CPackConfig.cmake >/dev/null)
ls build/windows/Paceword-*-win64.zip
