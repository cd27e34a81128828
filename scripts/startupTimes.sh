#!/usr/bin/env bash
# Start-up of the real Paceword.exe under Wine with a one-line quotes.txt and with a 45 MB file of
# 1,000,000 lines: seconds from launch to the main window being on the display (best of three)
# and the process's resident memory once it is. Needs a display and a running wineserver
# (bench.sh gives both). Argument: the path of Paceword.exe.
set -euo pipefail
exe=$1
export WINEDEBUG=-all
work=$(mktemp -d)
pid=
stopPaceword() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
    pid=
}
trap 'stopPaceword; rm -rf "$work"' EXIT

mkdir "$work/one" "$work/large"
echo "The quick brown fox jumps over the lazy dog." >"$work/one/quotes.txt"
# 1,000,000 lines of 3 to 12 words, 45 bytes a line on average; the same file every time.
awk 'BEGIN {
    split("the quick brown fox jumps over lazy dog typing speed every letter river light garden number", w, " ")
    srand(7)
    for (i = 0; i < 1000000; ++i) {
        n = 3 + int(rand() * 10); line = w[1 + int(rand() * 16)]
        for (k = 1; k < n; ++k) line = line " " w[1 + int(rand() * 16)]
        print line "."
    }
}' >"$work/large/quotes.txt"

# Prints "seconds residentKilobytes" for one start in folder $1.
startOnce() {
    local start end window='' rss
    start=$(date +%s.%N)
    (cd "$1" && exec wine "$exe" >/dev/null 2>&1 </dev/null) &
    pid=$!
    for _ in $(seq 3000); do
        window=$(xdotool search --onlyvisible --name '^Paceword$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        sleep 0.01
    done
    end=$(date +%s.%N)
    [ -n "$window" ] || { echo "no window" >&2; exit 1; }
    sleep 1  # let the first paint settle before reading the memory
    # Wine gives the window the pid of the Unix process that runs Paceword.exe.
    local windowPid
    windowPid=$(xdotool getwindowpid "$window")
    rss=$(awk '/^VmRSS/ {print $2}' "/proc/$windowPid/status")
    # Our own process, whichever of the two pids Wine's loader left it under.
    kill "$windowPid" 2>/dev/null || true
    stopPaceword
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Paceword$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    awk -v a="$start" -v b="$end" -v r="$rss" 'BEGIN { printf "%.3f %d\n", b - a, r }'
}

for folder in one large; do
    size=$(stat -c %s "$work/$folder/quotes.txt")
    best=
    for run in 1 2 3; do
        read -r seconds rss < <(startOnce "$work/$folder")
        echo "  $folder run $run: window after $seconds s, resident $((rss / 1024)) MB"
        best=$(awk -v s="$seconds" -v b="${best:-1e9}" 'BEGIN { print (s < b ? s : b) }')
    done
    printf '%-6s quotes.txt of %d bytes: best %s s to the window\n' "$folder" "$size" "$best"
done
