#!/usr/bin/env bash
# A monkey at the keyboard: seeded random events on the real Paceword.exe under Wine (keys with
# mistakes, Backspace, selections replaced by pastes, every way to a new text and the retry,
# resizes from 1x1 to 20000x10000, minimise, maximise and restore, the settings window saved with
# random values, the About box, paint messages for random parts of the window), on a library of
# short, wrapping, over-wide, right-to-left and mixed quotes.
# After every few events (SCREEN_EVERY, default 5), every word typed and every results screen,
# what the partial passes left must equal a whole repaint. After a new text the quote the screen
# shows is found by laying out each quote of the library afresh, and typed to its results (its
# last word now and then over a wrong letter): the box must take it. Every hundred events the
# program must answer, with one of its three titles and that screen's controls; at the end
# settings.txt must hold the two lines the settings window shows, as the saves left them.
# Usage: monkey.sh path/to/Paceword.exe path/to/paceword_probe.exe [EVENTS] [SEED]
#        (DISPLAY, WINEPREFIX and a running wineserver given); the seed is printed for a replay.
set -uo pipefail

events=${3:-500}
seed=${4:-$(od -An -N2 -tu2 /dev/urandom | tr -d ' ')}
# Short quotes, so that random typing finishes them now and then, and one of each kind that
# drawing must get right. Every first word is another, so that typing it tells them apart where
# the window is too small to show them.
rightToLeft=$'go \u05d0\u05d1 \u05d2\u05d3\u05d4 \u05d5\u05d6\u05d7\u05d8\u05d9 end'
mixed=$'\u05e9\u05dc\u05d5\u05dd world \u05e2\u05d5\u05dc\u05dd ab'
library=("ab" "a b" "ba ab" "bb a b"
    "Typing fast is a skill that grows with calm practice and steady hands that find each key without a look"
    "Supercalifragilisticexpialidociousnessbeyondanywindowwidth a"
    "$rightToLeft" "$mixed")
quote=$(printf '%s\n' "${library[@]}")
testName=monkey
screenEvery=${SCREEN_EVERY:-5}
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

pick() {  # pick WORD...: one of the words at random
    local words=("$@")
    echo "${words[RANDOM % ${#words[@]}]}"
}

randomText() {  # randomText MAXLENGTH
    local text="" length=$((RANDOM % $1 + 1))
    for _ in $(seq "$length"); do text+=${keys:RANDOM % ${#keys}:1}; done
    echo "$text"
}

# The settings window keeps a family only when it is one of the offered names, and a size by its
# own rule, which the probe asks it for.
saveSettings() {
    local size family
    size=$(pick 45 7 20 40 95 10 90 250 0045 0 "" 4a -5 123456789012345 "$((RANDOM % 100))")
    family=$(pick "${families[@]}" "${families[@]}" arial "Georgia " Verdana "")
    probeSays size-field "$size" "$(pick settings-save settings-close)" "$size" "$family" ||
        fail "the settings window did not save: $(cat "$work/probe.txt")"
    size=$(sed -n 's/^size //p' "$work/probe.txt")
    [ "$size" = kept ] || savedSize=$size
    for name in "${families[@]}"; do [ "$family" = "$name" ] && savedFamily=$family; done
}

# The program answers, shows one of its three titles and that screen's controls by class and text
# (any text in the box and the label), in any order: a control's place among its siblings is not
# the user's concern. A screen change may be under way: three looks, half a second apart.
checkState() {
    local title want shown
    for _ in 1 2 3; do
        probeSays state
        title=$(sed -n 's/^title //p' "$work/probe.txt")
        case $title in
        "$readyTitle" | "$typingTitle") want="Button New text (Esc)|Edit" ;;
        "$resultsTitle") want="Button Another text! (Enter or Esc)|Button Retry same text (r or R)|Static" ;;
        *) want="one of the three titles" ;;
        esac
        shown=$(sed -n 's/^child \([^ ]*\) [0-9]* [0-9]* \{0,1\}/\1 /p' "$work/probe.txt" |
            sed 's/^\(Edit\|Static\) .*/\1/' | LC_ALL=C sort | paste -sd'|')
        grep -qx 'answers 1' "$work/probe.txt" && [ "$shown" = "$want" ] && return 0
        sleep 0.5
    done
    echo "  $(grep '^answers' "$work/probe.txt"), title \"$title\", controls \"$shown\""
    return 1
}

focusWindow() {
    xdotool windowfocus "$window" 2>/dev/null
}

boxText() {
    probeSays state
    sed -n 's/^child Edit [0-9]* [0-9]* \{0,1\}//p' "$work/probe.txt"
}

# Types the quote the screen shows to its results, the screen compared with a whole repaint after
# each word and on the results. Where several quotes may be drawn, the first word tells them
# apart: its blank empties the box only on the quote the attempt checks.
typeWord() {  # words with letters no key of the US layout has are pasted
    if [[ $1 =~ ^[\ -~]*$ ]]; then
        xdotool type --delay 0 -- "$1"
    else
        probeSays paste "$1" && xdotool key ctrl+v
    fi
}
boxBecomes() {  # boxBecomes TEXT...: waits up to 3 s for the box to hold one of the texts
    for _ in $(seq 30); do
        shown=$(boxText)
        for text in "$@"; do [ "$shown" = "$text" ] && return 0; done
        sleep 0.1
    done
    return 1
}
typeDrawnQuote() {
    local lines line words last count cw ch cx cy ix iy X Y WIDTH HEIGHT
    # The screen shows the client area where Windows puts it only while the X window starts where
    # the caption ends and holds the client area: not after a maximise (Wine leaves that to a
    # window manager, and there is none), nor below Wine's least window size. There the box decides.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    probeSays state
    read -r cw ch cx cy <<<"$(sed -n 's/^client //p' "$work/probe.txt")"
    read -r ix iy <<<"$(sed -n 's/^inside //p' "$work/probe.txt")"
    lines=("${!library[@]}")
    if [ "$X" = "$ix" ] && [ "$Y" = "$iy" ] && [ $((cx + cw)) -le $((X + WIDTH)) ] &&
        [ $((cy + ch)) -le $((Y + HEIGHT)) ]; then
        # A quote kept from before matches a line of its own, which the box then refuses.
        probeSays drawn-quote "$savedSize" "$savedFamily"
        read -ra lines <<<"$(sed -n 's/^drawn //p' "$work/probe.txt")"
        [[ ${lines[0]:-none} =~ ^[0-9]+$ ]] || { echo "  the screen shows no quote of the library, laid out afresh: $(cat "$work/probe.txt")"; return 1; }
    fi
    for line in "${lines[@]}"; do
        read -ra words <<<"${library[line]}"
        count=${#words[@]}
        last=${words[-1]}
        if [ "$count" -gt 1 ]; then
            typeWord "${words[0]} "
            if ! boxBecomes ""; then
                [ ${#lines[@]} -eq 1 ] && { echo "  the box does not take the first word of \"${library[line]}\", drawn"; return 1; }
                xdotool key End shift+Home BackSpace
                boxBecomes ""
                continue
            fi
            checkScreen || return 1
            for word in "${words[@]:1:count-2}"; do
                typeWord "$word "
                boxBecomes "" || { echo "  the box does not take \"$word\""; return 1; }
                checkScreen || return 1
            done
        fi
        # The last word now and then over a wrong letter (no word of the library ends in x), which
        # is then selected and typed over: the word is completed while the frame shows.
        if [ $((RANDOM % 2)) -eq 0 ]; then
            typeWord "${last%?}x"
            boxBecomes "${last%?}x"
            xdotool key shift+Left
            last=${last: -1}
        fi
        typeWord "$last"
        for _ in $(seq 30); do
            probeSays state
            grep -qx "title $resultsTitle" "$work/probe.txt" && { checkScreen; return; }
            sleep 0.1
        done
        [ ${#lines[@]} -eq 1 ] && { echo "  typed \"${library[line]}\": $(tr '\n' ' ' <"$work/probe.txt")"; return 1; }
        xdotool key End shift+Home BackSpace
        boxBecomes ""
    done
    echo "  no quote the screen may show is the one being typed: $(tr '\n' ' ' <"$work/probe.txt")"
    return 1
}

checkScreen() {  # the screen equals a whole repaint of what the program holds
    probeSays repaint && ! grep -q '^repaint differs' "$work/probe.txt" || { echo "  $(cat "$work/probe.txt")"; return 1; }
}

newText() {  # after a way to a new text: a look at the screen, then the quote typed to its end
    sleep 0.2
    probeSays state
    if grep -qx "title $readyTitle" "$work/probe.txt" && grep -qx "iconic 0" "$work/probe.txt" &&
        [ $((RANDOM % 4)) -eq 0 ]; then
        check "event $event ($kind): the screen equals a whole repaint" checkScreen
        check "event $event ($kind): the quote drawn is typed to its end" typeDrawnQuote
    fi
}

startPaceword
focusWindow
for event in $(seq "$events"); do
    r=$((RANDOM % 100))
    [ -n "${MONKEY_TRACE:-}" ] && echo "event $event: r $r"
    if [ $r -lt 40 ]; then
        kind=key
        xdotool type --delay 0 -- "${keys:RANDOM % ${#keys}:1}"
    elif [ $r -lt 46 ]; then
        kind=backspace
        xdotool key BackSpace
    elif [ $r -lt 50 ]; then
        kind=escape
        xdotool key Escape
        newText
    elif [ $r -lt 54 ]; then
        kind=enter
        xdotool key Return
        newText
    elif [ $r -lt 57 ]; then
        kind=retry
        xdotool key "$(pick r R)"
    elif [ $r -lt 60 ]; then
        kind=click
        probeSays click "$(pick "New text" "Another text" "Retry")" && newText
    elif [ $r -lt 64 ]; then
        kind="paste"
        # Over a selection of the box's text, or at the caret.
        [ $((RANDOM % 2)) -eq 0 ] && xdotool key End shift+Home
        probeSays paste "$(randomText "$(pick 3 5 30 300)")"
        xdotool key ctrl+v
    elif [ $r -lt 67 ]; then
        kind=word
        # A word of the drawn quote's kind, perhaps finished over a wrong letter (the frame showing).
        word=$(pick "ab " "a " "b " "ba " "Typing " "go ")
        [ $((RANDOM % 2)) -eq 0 ] && xdotool type --delay 0 -- "${word:0:1}x" && xdotool key BackSpace
        xdotool type --delay 0 -- "$word"
        check "event $event ($kind): the screen equals a whole repaint" checkScreen
    elif [ $r -lt 71 ]; then
        kind=invalidate
        probeSays invalidate $((RANDOM % 700)) $((RANDOM % 300)) $((1 + RANDOM % 400)) $((1 + RANDOM % 200))
    elif [ $r -lt 88 ]; then
        kind=resize
        case $((RANDOM % 5)) in
        0) xdotool windowsize "$window" "$(pick 1 2 10 50)" "$(pick 1 2 10 50)" ;;
        1) xdotool windowsize "$window" "$(pick 20000 8000 4000)" "$(pick 10000 5000 3000)" ;;
        *) xdotool windowsize "$window" $((200 + RANDOM % 1100)) $((150 + RANDOM % 850)) ;;
        esac
    elif [ $r -lt 94 ]; then
        if [ $minimized -eq 0 ]; then kind=$(pick minimize maximize minimize); else kind=restore; fi
        probeSays "$kind" || fail "$kind: $(cat "$work/probe.txt")"
        [ "$kind" = maximize ] || minimized=$((1 - minimized))
        focusWindow
    elif [ $minimized -eq 1 ]; then
        # The menu of a minimised window is out of reach, and its owned windows would be hidden.
        kind=restore
        probeSays restore || fail "restore: $(cat "$work/probe.txt")"
        minimized=0
        focusWindow
    elif [ $r -lt 97 ]; then
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
    if [ $((event % screenEvery)) -eq 0 ]; then
        check "event $event ($kind): the screen equals a whole repaint" checkScreen
    fi
    if [ $((event % 100)) -eq 0 ] || [ "$event" -eq "$events" ]; then
        sleep 0.3
        check "after event $event the program answers with a title and the controls of its screen" checkState
    fi
    [ "$failed" -gt 0 ] && break
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
check "closing the window ends the program" waitForExit
finish
