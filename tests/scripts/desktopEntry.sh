#!/usr/bin/env bash
# The menu entry that scripts/install-desktop-entry.sh writes is a valid desktop file that names
# an icon that exists and run.sh of this checkout.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
entry=$("$here/scripts/install-desktop-entry.sh" "$data")
desktop-file-validate "$entry"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ "$(identify -format '%wx%h' "$icon")" = 256x256 ] || { echo "no 256-pixel icon at $icon"; exit 1; }
grep -qx "Exec=\"$here/run.sh\"" "$entry" || { echo "Exec does not name $here/run.sh"; exit 1; }
echo "desktopEntry: ok"
