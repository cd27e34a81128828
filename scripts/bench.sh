#!/bin/sh
# Builds the quote loading benchmark natively in Release and runs it; arguments go to it.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release
cmake --build build/bench --target quote_loading_benchmark -j2
exec build/bench/quote_loading_benchmark "$@"
