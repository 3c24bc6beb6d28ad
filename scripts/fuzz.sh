#!/usr/bin/env bash
# Coverage-guided fuzzing of the parsers with libFuzzer (clang), each target for a while,
# starting from its checked-in seed corpus (tests/fuzz/corpus/<target>). What it learns is kept
# in build/fuzz/corpus/<target> for the next run; a crash, a hang or a leak fails the script and
# leaves the input in build/fuzz/crashes/: fix the fault and check the input in as a seed.
# Usage: scripts/fuzz.sh [SECONDS-PER-TARGET] [TARGET...] (default 60 s, every target).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
command -v clang++ >/dev/null || { echo "clang++ is needed for libFuzzer (apt-get install clang libclang-rt-dev)"; exit 1; }

build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQOVA_LIBFUZZER=ON >/dev/null
cmake --build "$build" --target fuzz_targets -- -j2 >"$build/build.log" 2>&1 ||
    { tail -n 40 "$build/build.log"; exit 1; }

targets=("$@")
if ((${#targets[@]} == 0)); then
    for source in "$root"/tests/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi
mkdir -p "$build/crashes"
failed=()
for name in "${targets[@]}"; do
    seeds="$root/tests/fuzz/corpus/$name"
    [ -d "$seeds" ] || { echo "== $name: no seed corpus in $seeds"; failed+=("$name"); continue; }
    mkdir -p "$build/corpus/$name"
    # -timeout: an input that takes this long is a hang. Inputs up to 16 KiB, so that settings
    # texts and executable headers of some size are tried as well as short ones. -rss_limit_mb:
    # an input that makes a reader allocate far more than its size (a resource tree that shares
    # its directories and names, say) fails the run instead of passing on a machine with room.
    if "$build/bin/$name" -max_total_time="$seconds" -timeout=10 -max_len=16384 -rss_limit_mb=1024 \
        -print_final_stats=1 -artifact_prefix="$build/crashes/$name-" \
        "$build/corpus/$name" "$seeds" >"$build/$name.log" 2>&1; then
        echo "== $name: $(grep -E '^stat::number_of_executed_units' "$build/$name.log" | awk '{print $2}') inputs," \
             "$(grep -E '^stat::new_units_added' "$build/$name.log" | awk '{print $2}') new"
    else
        echo "== $name: FAILED (log: $build/$name.log)"
        tail -n 30 "$build/$name.log"
        failed+=("$name")
    fi
done
if ((${#failed[@]})); then
    echo "fuzzing found faults in: ${failed[*]}"
    exit 1
fi
