#!/usr/bin/env bash
# Makes the Wine prefix the program and its tests run in: a fresh 64-bit prefix, quiet, with
# the six font families the program offers mapped to free faces from Debian's packages.
# Wine's DirectWrite draws nothing for a family that is not installed, and none of the six is.
set -euo pipefail
prefix=${1:?usage: make-wineprefix.sh PREFIX}
# The marker names this script's own hash: a prefix made by an older version of it is made anew.
marker=$prefix/.paceword-ready-$(sha256sum "${BASH_SOURCE[0]}" | cut -c1-16)
[ -f "$marker" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64
if [ -e "$prefix/make-wineprefix.log" ] || compgen -G "$prefix/.paceword-ready-*" >/dev/null; then
    # A prefix of an older version of this script, or one left half made: only such a prefix,
    # which this script made, is removed.
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
elif [ -d "$prefix" ] && [ -n "$(ls -A "$prefix")" ]; then
    echo "make-wineprefix.sh: $prefix was not made by this script; not touching it" >&2
    exit 1
fi
# Keeps wineboot from asking for Mono and Gecko.
export WINEDLLOVERRIDES="mscoree=;mshtml="
mkdir -p "$prefix"
log=$prefix/make-wineprefix.log
# A wineserver started by a wine call keeps that call's stdout and stderr open: output goes to
# a file, never a pipe, or the caller would wait for the server to exit.
wineboot -i >"$log" 2>&1

# Wine draws its caption buttons with Marlett (without it they show as the letters 0, 1 and r) and
# maps the dialog font, MS Shell Dlg, to Tahoma; both come with fonts-wine. Debian's Wine 8 looks
# for them in "<data folder>\..\fonts\", a path that never reaches /usr/share/wine/fonts (strace
# shows no attempt to open it), so they go where Windows keeps them: the prefix's Fonts folder.
for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
  cp /usr/share/wine/fonts/$font "$prefix/drive_c/windows/Fonts/"
done

add_replacement() {
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$1" /t REG_SZ /d "$2" /f >>"$log" 2>&1
}
add_replacement "Arial" "Liberation Sans"
add_replacement "Times New Roman" "Liberation Serif"
add_replacement "Courier New" "Liberation Mono"
add_replacement "Calibri" "Carlito"
add_replacement "Georgia" "Caladea"
add_replacement "Segoe Script" "Z003"
# For Chinese, Japanese and Korean text Wine's DirectWrite falls back to these four families; with
# none of them installed the glyphs are empty boxes. WenQuanYi Micro Hei (fonts-wqy-microhei,
# 5 MB) covers the Han characters, kana and hangul; the Noto fonts themselves would be 91 MB.
for cjk in SC TC JP KR; do
  add_replacement "Noto Sans CJK $cjk" "WenQuanYi Micro Hei"
done
# The window tests open and close hundreds of top-level windows. For a window that the window
# manager manages, Wine's X11 driver waits for the manager to confirm it is withdrawn, up to two
# seconds; Xvfb has no window manager, so every close took two seconds. Only the test program's
# windows are left unmanaged; Paceword.exe keeps the normal behaviour.
wine reg add 'HKCU\Software\Wine\AppDefaults\paceword_window_tests.exe\X11 Driver' /v Managed /t REG_SZ \
  /d N /f >>"$log" 2>&1
# The screenshots want the window's caption, which Wine draws itself only for an unmanaged window
# when no window manager runs.
wine reg add 'HKCU\Software\Wine\AppDefaults\paceword_screenshots.exe\X11 Driver' /v Managed /t REG_SZ \
  /d N /f >>"$log" 2>&1
# The bad-file table starts the program some sixty times and never moves or sizes its window: it
# runs a copy under this name, unmanaged, so that each window it closes goes at once instead of
# after the two seconds above. The other tests run Paceword.exe itself: Wine leaves the size of
# an unmanaged window to Windows alone, so xdotool could not resize it.
wine reg add 'HKCU\Software\Wine\AppDefaults\PacewordUnmanaged.exe\X11 Driver' /v Managed /t REG_SZ \
  /d N /f >>"$log" 2>&1
# Wine's Direct3D keeps its command-stream thread (csmt) for Paceword.exe: switched off for it
# (AppDefaults\Paceword.exe\Direct3D, csmt=0), keys sent from another process took two to four
# times as long on a quiet machine (a letter 1.4 ms instead of 0.4, a completed word 4.6 instead
# of 2.2, at both sizes of scripts/bench.sh keystrokes), so no such setting is made.
# A caret that does not blink: a screenshot shows it whenever it is taken.
wine reg add 'HKCU\Control Panel\Desktop' /v CursorBlinkRate /t REG_SZ /d -1 /f >>"$log" 2>&1
wineserver -w
touch "$marker"
