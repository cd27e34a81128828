#!/usr/bin/env bash
# A monkey at the keyboard: seeded random events on the real Paceword.exe under Wine (keys,
# pastes, resizes from 1x1 to 20000x10000, minimise and restore, the settings window saved with
# random values, the About box). After every hundred events the program must answer, show one
# of its three titles and the controls of the screen that title names; at the end settings.txt
# must hold the two lines the settings window shows, as the saves left them.
# Usage: monkey.sh path/to/Paceword.exe path/to/paceword_probe.exe [EVENTS] [SEED]
#        (DISPLAY, WINEPREFIX and a running wineserver given); the seed is printed for a replay.
set -uo pipefail

exe=${1:?usage: monkey.sh Paceword.exe paceword_probe.exe [EVENTS] [SEED]}
probe=${2:?usage: monkey.sh Paceword.exe paceword_probe.exe [EVENTS] [SEED]}
events=${3:-1000}
seed=${4:-$(od -An -N2 -tu2 /dev/urandom | tr -d ' ')}
# Short quotes, so that random typing finishes them now and then.
quote=$'ab\na b\nba'
testName=monkey
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"
echo "monkey: $events events, seed $seed (replay: monkey.sh EXE PROBE $events $seed)"
RANDOM=$seed

readyTitle="Paceword"
typingTitle="TIMER STARTED!!!!! GO! GO! GO!!! TYPE! TYPE! TYPE!!! FAST! FAST! FAST!!! GOOD LUCK! ......"
resultsTitle="Good job! :D"
families=("Arial" "Calibri" "Courier New" "Georgia" "Segoe Script" "Times New Roman")
keys='aaabbb    xZ.,;!?-'"'"
savedSize=20
savedFamily=Arial
minimized=0
declare -A tally

probeSays() {
    (cd "$work" && wine "$probe" "$@" >"$work/probe.txt" 2>/dev/null </dev/null)
}

pick() {  # pick WORD...: one of the words at random
    local words=("$@")
    echo "${words[RANDOM % ${#words[@]}]}"
}

randomText() {  # randomText MAXLENGTH
    local text="" length=$((RANDOM % $1 + 1))
    for _ in $(seq "$length"); do text+=${keys:RANDOM % ${#keys}:1}; done
    echo "$text"
}

# What the settings window does with typed values: digits only, held to 10..90; a family only
# when it is one of the offered names.
saveSettings() {
    local size family
    size=$(pick 45 7 95 10 90 0045 0 "" 4a -5 123456789012345 "$((RANDOM % 100))")
    family=$(pick "${families[@]}" "${families[@]}" arial "Georgia " Verdana "")
    probeSays "$(pick settings-save settings-close)" "$size" "$family" || fail "the settings window did not save: $(cat "$work/probe.txt")"
    if [[ $size =~ ^[0-9]+$ ]]; then
        local digits=90
        if [ ${#size} -le 9 ]; then
            digits=$((10#$size))
        elif ! [[ ${size:0:${#size}-9} =~ [1-9] ]]; then
            digits=$((10#${size: -9}))
        fi
        savedSize=$((digits < 10 ? 10 : digits > 90 ? 90 : digits))
    fi
    for name in "${families[@]}"; do [ "$family" = "$name" ] && savedFamily=$family; done
}

# The program answers, shows one of its three titles and that screen's controls. A screen
# change may be under way: three looks, half a second apart.
checkState() {
    local problem
    for _ in 1 2 3; do
        probeSays state
        problem=$(awk -v ready="$readyTitle" -v typing="$typingTitle" -v results="$resultsTitle" '
            $1 == "answers" { answers = $2 }
            $1 == "title" { title = substr($0, 7) }
            $1 == "child" { text = $0; sub(/^child [^ ]+ [^ ]+ [^ ]+ ?/, "", text); children = children "|" $2 ":" text }
            END {
                if (answers != 1) { print "the program does not answer"; exit }
                if (title == ready || title == typing) want = "|Edit:*|Button:New text (Esc)"
                else if (title == results) want = "|Static:*|Button:Retry same text (r or R)|Button:Another text! (Enter or Esc)"
                else { print "title \"" title "\""; exit }
                n = split(want, w, "|"); m = split(children, c, "|")
                if (n != m) { print "controls" children " on the screen titled \"" title "\""; exit }
                for (i = 2; i <= n; i++) {
                    split(w[i], a, ":"); split(c[i], b, ":")
                    if (a[1] != b[1] || (a[2] != "*" && substr(c[i], length(b[1]) + 2) != a[2])) {
                        print "controls" children " on the screen titled \"" title "\""; exit
                    }
                }
            }' "$work/probe.txt")
        [ -z "$problem" ] && return 0
        sleep 0.5
    done
    echo "  $problem"
    return 1
}

focusWindow() {
    xdotool windowfocus "$window" 2>/dev/null
}

startPaceword
focusWindow
for event in $(seq "$events"); do
    r=$((RANDOM % 100))
    if [ $r -lt 50 ]; then
        kind=key
        xdotool type --delay 0 -- "${keys:RANDOM % ${#keys}:1}"
    elif [ $r -lt 58 ]; then
        kind=backspace
        xdotool key BackSpace
    elif [ $r -lt 63 ]; then
        kind=escape
        xdotool key Escape
    elif [ $r -lt 68 ]; then
        kind=enter
        xdotool key Return
    elif [ $r -lt 73 ]; then
        kind=retry
        xdotool key "$(pick r R)"
    elif [ $r -lt 75 ]; then
        kind=paste
        probeSays paste "$(randomText "$(pick 5 30 300)")"
        xdotool key ctrl+v
    elif [ $r -lt 93 ]; then
        kind=resize
        case $((RANDOM % 4)) in
        0) xdotool windowsize "$window" "$(pick 1 2 10 50)" "$(pick 1 2 10 50)" ;;
        1) xdotool windowsize "$window" "$(pick 20000 8000 4000)" "$(pick 10000 5000 3000)" ;;
        *) xdotool windowsize "$window" $((200 + RANDOM % 1100)) $((150 + RANDOM % 850)) ;;
        esac
    elif [ $r -lt 96 ]; then
        if [ $minimized -eq 0 ]; then kind=minimize; else kind=restore; fi
        probeSays "$kind" || fail "$kind: $(cat "$work/probe.txt")"
        minimized=$((1 - minimized))
        focusWindow
    elif [ $minimized -eq 1 ]; then
        # The menu of a minimised window is out of reach, and its owned windows would be hidden.
        kind=restore
        probeSays restore || fail "restore: $(cat "$work/probe.txt")"
        minimized=0
        focusWindow
    elif [ $r -lt 98 ]; then
        kind=settings
        saveSettings
        focusWindow
    else
        kind=about
        # By the menu's keyboard shortcut, behind the keys still on their way: a command posted
        # to the window would overtake them (posted messages come before input), and an Enter,
        # Esc or space among them would close the box within milliseconds of its showing.
        xdotool key alt+a
        probeSays dismiss
        grep -q '^message Paceword Version' "$work/probe.txt" ||
            fail "no About box after Alt+A at event $event: $(cat "$work/probe.txt")"
        focusWindow
    fi
    tally[$kind]=$((${tally[$kind]:-0} + 1))
    if [ $((event % 100)) -eq 0 ] || [ "$event" -eq "$events" ]; then
        sleep 0.3
        check "after event $event the program answers with a title and the controls of its screen" checkState
        [ "$failed" -gt 0 ] && break
    fi
done
summary=""
for kind in "${!tally[@]}"; do summary+=" $kind ${tally[$kind]}"; done
echo "events:$summary"

# The end: the settings window shows what the saves left, settings.txt holds exactly that, and
# closing the window ends the program.
probeSays restore settings-read close
shown=$(sed -n 's/^settings //p' "$work/probe.txt")
check "the settings window shows the saved size and family" [ "$shown" = "$savedSize"$'\t'"$savedFamily" ]
printf '%s\r\n%s' "$savedSize" "$savedFamily" >"$work/expected"
check "settings.txt holds the two saved lines" cmp "$work/expected" "$work/settings.txt"
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then fail "closing the window did not end the program"; else
    pass "closing the window ends the program"
    wait "$pid" 2>/dev/null
    pid=
fi
finish
