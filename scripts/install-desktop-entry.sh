#!/usr/bin/env bash
# Gives Paceword an entry in the desktop's application menu on Linux: a freedesktop .desktop file
# that starts ./run.sh of this checkout, with the program's own icon.
# Usage: scripts/install-desktop-entry.sh [DATA_FOLDER]  (default: $XDG_DATA_HOME or ~/.local/share)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
data=${1:-${XDG_DATA_HOME:-$HOME/.local/share}}
mkdir -p "$data/applications" "$data/icons"

# The 256-pixel image of the program's icon.
icon=$data/icons/paceword.png
convert "$here/resources/paceword.ico[1]" "$icon"

# Exec takes its argument in double quotes so that a checkout path with blanks works; within
# them a backslash, double quote, backquote or dollar needs a backslash, written doubled because
# the file's string rules read backslashes once more.
exec=$(printf '%s' "$here/run.sh" | sed -e 's/[\\"`$]/\\\\&/g')
entry=$data/applications/paceword.desktop
cat >"$entry" <<DESKTOP
[Desktop Entry]
Type=Application
Name=Paceword
Comment=Typing-speed test
Exec="$exec"
Path=$here
Icon=$icon
Terminal=false
Categories=Education;
DESKTOP
echo "$entry"
