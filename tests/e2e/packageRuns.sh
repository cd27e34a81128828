#!/usr/bin/env bash
# The package as a user gets it: unzips it into an empty folder, starts the Paceword.exe found
# there under Wine, and checks that the main window shows a quote from the shipped library and
# that settings.txt appears beside the program.
# Usage: packageRuns.sh path/to/Paceword-VERSION-win64.zip path/to/paceword_probe.exe
#        (DISPLAY, WINEPREFIX and a running wineserver given)
set -uo pipefail

zip=${1:?usage: packageRuns.sh Paceword-VERSION-win64.zip paceword_probe.exe}
testName=packageRuns
quote=
# shellcheck source=tests/e2e/common.sh
source "$(dirname "$0")/common.sh"

mkdir "$work/unpacked"
if ! unzip -q "$zip" -d "$work/unpacked"; then
    fail "cannot unzip $zip"
    finish
fi
folder=$(dirname "$(find "$work/unpacked" -name Paceword.exe | head -n 1)")
exe=$folder/Paceword.exe
check "the package holds Paceword.exe, quotes.txt and README.txt and no settings.txt" \
    test -f "$exe" -a -s "$folder/quotes.txt" -a -s "$folder/README.txt" -a ! -e "$folder/settings.txt"
[ -f "$exe" ] || finish

startPaceword
waitForQuote
if [ "$dark" -ge 300 ]; then
    pass "a quote is drawn"
else
    fail "only $dark dark pixels in the text area: no quote is drawn"
fi
check "settings.txt is written beside the program" test -s "$folder/settings.txt"

stopProgram
finish
