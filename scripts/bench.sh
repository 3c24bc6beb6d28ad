#!/usr/bin/env bash
# Builds and runs the benchmarks: the native ones (tests/bench/bench_*.cpp, the `benchmarks`
# target) and the Windows ones under Wine (tests named *Benchmark* that are disabled in the
# ordinary test runs), after where the launcher's bytes go. They print figures; none asserts a
# time. docs/performance.md holds a run's output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

echo "== machine: $(nproc) cores, $(wine --version 2>/dev/null), Debian $(cat /etc/debian_version 2>/dev/null), $(date -u +%Y-%m-%d)"

native="${QOVA_BENCH_NATIVE_DIR:-$root/build/bench-native}"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQOVA_SANITIZE=OFF >/dev/null
cmake --build "$native" --target benchmarks
# Memory freed between rounds stays with the process: otherwise every round of a large size
# pays the host's page faults for fresh memory, which says nothing about the code measured.
export GLIBC_TUNABLES=glibc.malloc.trim_threshold=4294967295:glibc.malloc.mmap_threshold=33554432
for bench in "$native"/bin/bench_*; do
    echo "== $(basename "$bench")"
    "$bench"
done
unset GLIBC_TUNABLES

win="${QOVA_BENCH_WIN_DIR:-$root/build/win}"
"$root/scripts/build-windows.sh" "$win"
# From the map and the unstripped twin that the launcher's link leaves in the build folder.
echo "== where the 64-bit launcher's bytes go"
python3 "$root/scripts/size-breakdown.py" "$win/bin/launcher.exe" "$win/launcher-symbols.exe" \
    "$win/launcher.map" 30
echo "== where the 32-bit launcher's bytes go"
TOOL_PREFIX=i686-w64-mingw32- python3 "$root/scripts/size-breakdown.py" \
    "$win/win32/bin/launcher.exe" "$win/win32/launcher-symbols.exe" "$win/win32/launcher.map" 10
source "$root/scripts/wine-env.sh"
wine_env_start "$win"
for tests in windows_tests e2e_tests; do
    echo "== $tests benchmarks"
    wine "$win/bin/$tests.exe" --gtest_also_run_disabled_tests --gtest_filter='*Benchmark*' \
        </dev/null
done
