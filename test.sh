#!/usr/bin/env bash
# Builds everything and runs every test: the logic natively (with AddressSanitizer and UBSan),
# then the Windows program's tests under Wine in a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

echo "== native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DPACEWORD_SANITIZE=ON >/dev/null
cmake --build build/native -j2 --target paceword_native_tests
(cd build/native && ctest --output-on-failure)

echo "== fuzz targets, 15 s each"
scripts/fuzz.sh 15

echo "== Windows build"
cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DPACEWORD_TESTS=ON -DPACEWORD_GTEST_SOURCE=/usr/src/googletest \
  "-DCMAKE_CROSSCOMPILING_EMULATOR=$PWD/scripts/wine-run.sh" >/dev/null
cmake --build build/windows -j2

echo "== Windows tests under Wine"
scripts/make-wineprefix.sh "$PWD/build/wineprefix"
scripts/with-display.sh scripts/run-wine-tests.sh
