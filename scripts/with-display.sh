#!/usr/bin/env bash
# Runs a command inside a private Xvfb display, on a display number found free at run time, and
# stops the display afterwards. XVFB_SCREEN sets the screen (default 1280x1024x24).
set -euo pipefail
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display <"$fifo"
rm -f "$fifo"
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
DISPLAY=:$display "$@"
