#!/usr/bin/env bash
# Builds the fuzz targets natively with clang (libFuzzer, AddressSanitizer, UBSan) and runs each
# for the given seconds (default 600), starting from the committed seeds. Prints each target's
# executions and coverage; exits non-zero when a target finds a fault, leaving the input that
# shows it in build/fuzz/.
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
scripts/install-deps.sh
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPACEWORD_FUZZ=ON >/dev/null
cmake --build build/fuzz -j2 --target settingsFuzz quoteFuzz >/dev/null

status=0
for target in settingsFuzz quoteFuzz; do
    seeds=tests/fuzz/corpus/${target%Fuzz}
    # New inputs go to a scratch folder listed first; the committed seeds are only read.
    scratch=$(mktemp -d)
    log=$scratch.log
    if build/fuzz/$target -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=build/fuzz/ \
        "$scratch" "$seeds" >"$log" 2>&1; then
        awk -v t="$target" '/DONE/ { for (i = 1; i <= NF; i++) {
                                         if ($i == "cov:") cov = $(i + 1)
                                         if ($i == "ft:") ft = $(i + 1)
                                     } }
                            /number_of_executed_units/ { runs = $2 }
                            END { printf "%s: %d executions, %d coverage edges, %d features, nothing found\n", t, runs, cov, ft }' "$log"
    else
        status=1
        echo "$target FOUND A FAULT:"
        grep -E 'property broken|ERROR|SUMMARY|Test unit written' "$log" || tail -n 30 "$log"
    fi
    rm -rf "$scratch" "$log"
done
exit $status
