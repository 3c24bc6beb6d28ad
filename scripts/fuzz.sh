#!/usr/bin/env bash
# Coverage-guided fuzzing of the parsers with libFuzzer (clang), each target for a while.
# Usage: scripts/fuzz.sh [SECONDS-PER-TARGET] (default 60). Crashes land in build/fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
command -v clang++ >/dev/null || { echo "clang++ is needed for libFuzzer (apt-get install clang)"; exit 1; }
out="$root/build/fuzz"
mkdir -p "$out"
core_sources=$(find "$root/src" "$root/tools/stamp" -name '*.cpp' ! -name '*_win.cpp')
for target in "$root"/tests/fuzz/fuzz_*.cpp; do
    name=$(basename "$target" .cpp)
    echo "== $name"
    clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I"$root/src" -I"$root/tools/stamp" \
        "$target" $core_sources -o "$out/$name"
    mkdir -p "$out/$name-corpus"
    (cd "$out" && "./$name" -max_total_time="$seconds" -print_final_stats=1 "$name-corpus" 2>&1 | tail -n 3)
done
