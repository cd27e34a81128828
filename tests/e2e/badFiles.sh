#!/usr/bin/env bash
# Bad quotes.txt and settings.txt files, one row each: the real Paceword.exe starts on them and
# must either say there are no quotes and end in order, or show its window with the right text
# size and family, holding no more memory than the row allows; settings.txt must afterwards hold
# exactly the bytes the row expects.
# Usage: badFiles.sh path/to/Paceword.exe path/to/paceword_probe.exe
#        (BAD_FILES_ONLY="settings*" runs only the rows whose names match)
#        (DISPLAY, WINEPREFIX and a running wineserver given)
set -uo pipefail

testName=badFiles
quote=unused
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"

# The program's windows close without Wine's wait for a window manager (the prefix marks this
# name unmanaged); it is the same file, and the probe finds it by this name.
cp "$exe" "$work/PacewordUnmanaged.exe"
exe=$work/PacewordUnmanaged.exe
export PACEWORD_PROGRAM=PacewordUnmanaged.exe

goodQuotes='one two\n'
goodSettings='45\r\nGeorgia'
defaults='20\r\nArial'

# A file's content in a row: "-" no file, "@folder" a folder in its place, "@readonly:TEXT" TEXT
# in a read-only file, "@link:PATH" a link to PATH, "@linked:TEXT" a link to TEXT in a file of a
# dotfiles folder beside it, "@sparse:SIZE" a sparse file of SIZE (as
# truncate takes it), "@FUNCTION" what a function of this script prints, else a printf format.
makeFile() {  # makeFile PATH CONTENT
    case $2 in
    -) ;;
    @folder) mkdir "$1" ;;
    @readonly:*) printf -- "${2#@readonly:}" >"$1" && chmod a-w "$1" ;;
    @link:*) ln -s "${2#@link:}" "$1" ;;
    @linked:*)
        mkdir -p "${1%/*}/dotfiles" && printf -- "${2#@linked:}" >"${1%/*}/dotfiles/paceword" &&
            ln -s dotfiles/paceword "$1" ;;
    @sparse:*) truncate -s "${2#@sparse:}" "$1" ;;
    @*) "${2#@}" >"$1" ;;
    *) printf -- "$2" >"$1" ;;
    esac
}

allBytes() {
    for i in $(seq 0 255); do printf "\\x$(printf %02x "$i")"; done
}
nulBytes() {
    printf 'a\x00b\x00\x00 c\n\x00\n'
}
millionLines() {
    seq 1000000 | sed 's/^/quote number /'
}
overLongLine() {
    yes a | head -n 32768 | tr '\n' ' '; printf a
}
overLongLineThenAQuote() {
    overLongLine
    printf '\none two\n'
}
quoteThenThreeGigabytes() {
    printf 'one two\n'
    truncate -s 3G /dev/stdout
}
largeSettings() {
    printf '45\r\nGeorgia\r\n'
    head -c 70000000 /dev/zero
}
tenMegabyteFamily() {
    printf '30\r\n'
    head -c 10485760 /dev/zero | tr '\0' A
}

# Ends the program once it holds more than $1 MB (Wine runs it in the process the row starts),
# so that a file read without end cannot take the machine's memory; runs, and ends, with it.
guardMemory() {
    while kill -0 "$pid" 2>/dev/null; do
        local resident
        resident=$(awk '/^VmRSS/ { print int($2 / 1024) }' "/proc/$pid/status" 2>/dev/null)
        if [ "${resident:-0}" -gt "$1" ]; then
            echo "$resident" >"$work/overPeak"
            kill -9 "$pid" 2>/dev/null
            return
        fi
        sleep 0.1
    done
}

# row NAME QUOTES SETTINGS SIZE FAMILY AFTER [save]
#   SIZE "message": the no-quotes message, then the end. Otherwise the text size the program
#   uses: the settings window shows it cut to whole units and the typing box is 1.3 times as
#   high. FAMILY as a file content (above), or "*" for any: the settings window is then not
#   opened (with a 10 MB family it takes Wine over 10 s to fill its fields). AFTER: settings.txt afterwards, as
#   a file content or "same". With "save" the settings window saves 30 Calibri before the end.
#   MAX_PEAK (MB, default 3072): the most the program may hold; it is ended when it holds more.
#   FILE_LIMIT (KB): the largest file the program may write, as a full disk or a quota allows;
#   past it a write fails (and raises no signal).
#   MESSAGE_HAS: words the no-quotes message must hold.
row() {
    local name=$1 quotes=$2 settings=$3 size=$4 family=$5 after=$6 action=${7:-} maxPeak=${MAX_PEAK:-3072}
    # shellcheck disable=SC2053  # a pattern on purpose: BAD_FILES_ONLY may name several rows
    [[ $name == ${BAD_FILES_ONLY:-*} ]] || return 0
    local folder="$work/case"
    rm -rf "$folder" && mkdir "$folder"
    makeFile "$folder/quotes.txt" "$quotes"
    makeFile "$folder/settings.txt" "$settings"
    rm -rf "$work/expected"
    [ "$after" = same ] && cp -a "$folder/settings.txt" "$work/expected" 2>/dev/null
    [ "$after" != same ] && makeFile "$work/expected" "$after"
    # Whatever the program leaves beside settings.txt (a temporary file) is found by this list.
    local others
    others=$(cd "$folder" && find . ! -name settings.txt | sort)
    (
        cd "$folder" || exit
        if [ -n "${FILE_LIMIT:-}" ]; then trap '' XFSZ && ulimit -f "$FILE_LIMIT"; fi
        exec wine "$exe" >"$work/wine.log" 2>&1 </dev/null
    ) &
    pid=$!
    rm -f "$work/overPeak"
    guardMemory "$maxPeak" &
    if ! probeSays wait state; then
        fail "$name: neither a window nor a message appeared$([ -e "$work/overPeak" ] && echo ", ended at $(cat "$work/overPeak") MB") (probe: $(tr '\n' ' ' <"$work/probe.txt"))"
        stopProgram
        return
    fi
    local problems=""
    if [ "$size" = message ]; then
        probeSays dismiss
        grep -q '^message No quotes to type' "$work/probe.txt" || problems+=" no no-quotes message;"
        grep -qF -- "${MESSAGE_HAS:-}" "$work/probe.txt" || problems+=" the message lacks \"$MESSAGE_HAS\";"
        waitForExit || problems+=" did not end after the message;"
    else
        grep -q '^popup' "$work/probe.txt" && problems+=" an unexpected message: $(grep '^popup' "$work/probe.txt");"
        local box
        box=$(awk '$1 == "child" && $2 == "Edit" { print $4 }' "$work/probe.txt")
        [ "$box" = "$(awk -v s="$size" 'BEGIN { print int(s * 1.3) }')" ] || problems+=" typing box $box high;"
        if [ "$family" = "*" ]; then
            probeSays close
        else
            if [ "$action" = save ]; then
                probeSays settings-read settings-save 30 Calibri close
            else
                probeSays settings-read close
            fi
            local shown
            shown=$(sed -n 's/^settings //p' "$work/probe.txt")
            [ "${shown%%$'\t'*}" = "$(awk -v s="$size" 'BEGIN { print int(s) }')" ] ||
                problems+=" size field ${shown%%$'\t'*};"
            makeFile "$work/family" "$family"
            [ "${shown#*$'\t'}" = "$(cat "$work/family")" ] || problems+=" family field ${shown#*$'\t'};"
        fi
        waitForExit || problems+=" did not end when closed;"
    fi
    if [ -L "$work/expected" ]; then
        # Compared by content only where it leads to a file: it may lead to a device without end.
        [ "$(readlink "$folder/settings.txt")" = "$(readlink "$work/expected")" ] || problems+=" settings.txt is no longer the link;"
        if [ -f "$work/expected" ]; then
            cmp -s "$work/expected" "$folder/settings.txt" || problems+=" the link's file holds $(od -c "$folder/settings.txt" | head -2);"
        fi
    elif [ -d "$work/expected" ]; then
        [ -d "$folder/settings.txt" ] || problems+=" settings.txt is no longer a folder;"
    elif [ -e "$work/expected" ]; then
        [ -L "$folder/settings.txt" ] && problems+=" settings.txt is still a link;"
        cmp -s "$work/expected" "$folder/settings.txt" || problems+=" settings.txt holds $(head -c 40 "$folder/settings.txt" 2>&1 | od -c | head -2);"
    else
        [ ! -e "$folder/settings.txt" ] || problems+=" settings.txt was made;"
    fi
    [ "$(cd "$folder" && find . ! -name settings.txt | sort)" = "$others" ] ||
        problems+=" files left: $(cd "$folder" && find . ! -name settings.txt | sort | tr '\n' ' ');"
    stopProgram
    chmod -R u+w "$folder"
    if [ -z "$problems" ]; then pass "$name"; else fail "$name:$problems"; fi
}

# Quote files. A library without a line to type (text without control characters) is no library.
MESSAGE_HAS="missing, unreadable or empty" row "quotes missing" - "$goodSettings" message '' same
row "quotes empty" '' "$goodSettings" message '' same
row "quotes only empty lines" '\n\r\n\n' "$goodSettings" message '' same
row "quotes a folder" @folder "$goodSettings" message '' same
row "quotes missing, settings missing" - - message '' "$defaults"
row "quotes binary" @allBytes "$goodSettings" message '' same
MESSAGE_HAS="holds 2 lines, and none of them can be typed" row "quotes NUL bytes" @nulBytes "$goodSettings" message '' same
row "quotes NUL bytes and a quote" '\x00\none two\a\none two\n' "$goodSettings" 45 Georgia same
# Terminal colours and IRC codes are no part of the text.
row "quotes colour sequences in every line" '\e[32mone\e[m two\n\x0304,12three\x03 \x02four\x0f\n' "$goodSettings" 45 Georgia same
row "quotes a million lines" @millionLines "$goodSettings" 45 Georgia same
row "quotes UTF-8 with mark" '\xef\xbb\xbfCaf\xc3\xa9 na\xc3\xafve\r\n' "$goodSettings" 45 Georgia same
row "quotes UTF-16 LE with mark" '\xff\xfeo\x00n\x00e\x00\r\x00\n\x00' "$goodSettings" 45 Georgia same
row "quotes UTF-16 BE with mark" '\xfe\xff\x00o\x00n\x00e' "$goodSettings" 45 Georgia same
row "quotes only an over-long line" @overLongLine "$goodSettings" message '' same
row "quotes an over-long line and a quote" @overLongLineThenAQuote "$goodSettings" 45 Georgia same
row "quotes only blanks and tabs" ' \n\t \t\r\n  ' "$goodSettings" message '' same
# Over the 2 GB limit a file is read up to its last whole line within the limit; a device without
# end is read no further than the limit.
MAX_PEAK=2300 row "quotes a quote, then 3 GB" @quoteThenThreeGigabytes "$goodSettings" 45 Georgia same
MAX_PEAK=2300 row "quotes a link to /dev/zero" @link:/dev/zero "$goodSettings" message '' same

# Settings files. A size the fonts cannot use falls back to 20; the file is never rewritten
# for a bad value, and a read-only file or a folder stays as it was even through a save.
row "settings NaN" "$goodQuotes" 'nan\r\nGeorgia' 20 Georgia same
row "settings inf" "$goodQuotes" 'inf\r\nGeorgia' 20 Georgia same
row "settings negative" "$goodQuotes" '-30\r\nGeorgia' 20 Georgia same
row "settings 0" "$goodQuotes" '0\r\nGeorgia' 20 Georgia same
row "settings 0.5" "$goodQuotes" '0.5\r\nGeorgia' 20 Georgia same
row "settings 1e-40" "$goodQuotes" '1e-40\r\nGeorgia' 20 Georgia same
row "settings 1e9" "$goodQuotes" '1e9\r\nGeorgia' 20 Georgia same
row "settings 7 and 250 stay" "$goodQuotes" '7\r\nGeorgia' 7 Georgia same
row "settings 250" "$goodQuotes" '250\nCalibri' 250 Calibri same
row "settings 12.5" "$goodQuotes" '12.5\r\nCourier New\r\nthird' 12.5 'Courier New' same
row "settings 0x3Cp+-1" "$goodQuotes" '0x3Cp+-1\r\nGeorgia' 60 Georgia same
row "settings 20abc" "$goodQuotes" '20abc\r\nCalibri' 20 Calibri same
row "settings empty family line" "$goodQuotes" '45\r\n\r\n' 45 '' same
row "settings 10 MB family line" "$goodQuotes" @tenMegabyteFamily 30 '*' same
row "settings binary" "$goodQuotes" @allBytes 20 '*' same
row "settings empty" "$goodQuotes" '' 20 Arial same
row "settings UTF-16" "$goodQuotes" '\xff\xfe4\x005\x00\r\x00\n\x00G\x00e\x00o\x00r\x00g\x00i\x00a\x00' 45 Georgia same
row "settings a family not installed" "$goodQuotes" '20\r\nVerdana' 20 Verdana same
# Only its beginning is read: a larger file keeps its lines and is not rewritten.
MAX_PEAK=512 row "settings over 64 MB" "$goodQuotes" @largeSettings 45 Georgia same
row "settings UTF-8 mark, saved without it" "$goodQuotes" '\xef\xbb\xbf30\r\nCourier New' 30 'Courier New' \
    '30\r\nCalibri' save
# Read no further than 64 MB. The defaults are then written, but Wine does not move them over
# the link, and a failed write leaves the file as it was.
MAX_PEAK=512 row "settings a link to /dev/zero" "$goodQuotes" @link:/dev/zero 20 Arial same
row "settings read-only" "$goodQuotes" "@readonly:$goodSettings" 45 Georgia "$goodSettings" save
# A write the system refuses (a full disk, a quota) leaves the old file whole and nothing beside.
FILE_LIMIT=0 row "settings save refused by a file-size limit" "$goodQuotes" "$goodSettings" 45 Georgia \
    "$goodSettings" save
# A settings file kept in a dotfiles folder: a save writes what the link leads to, and the link
# stays. A link that leads nowhere is written as a plain file.
row "settings a link to a file, saved" "$goodQuotes" "@linked:$goodSettings" 45 Georgia '@linked:30\r\nCalibri' save
row "settings a link that leads nowhere" "$goodQuotes" @link:dotfiles/none 20 Arial "$defaults"
row "settings a folder" "$goodQuotes" @folder 20 Arial @folder save
row "settings missing" "$goodQuotes" - 20 Arial "$defaults"
row "settings saved" "$goodQuotes" "$goodSettings" 45 Georgia '30\r\nCalibri' save

finish
