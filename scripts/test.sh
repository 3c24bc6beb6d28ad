#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under ASan/UBSan (tier 1), its parsers
# under libFuzzer for a few seconds each, the Windows operations under Wine (tier 2) and the
# real launcher end to end (tier 3); then the paired 32-bit launcher's tests (its test runtime
# and the end-to-end tests that apply to it), which the Windows build builds in win32 inside its
# folder; and the ARM64 launcher's, built in arm64 inside it, which run in a Wine of their own
# (an emulated namespace with its own display and server) beside the other two.
# Prints the time of each step and the total.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
started_at=$SECONDS
step_started=$SECONDS
times=()
# Records the time since the last mark under LABEL. Usage: step_done LABEL
step_done() {
    times+=("$(printf '%-34s %5d s' "$1" $((SECONDS - step_started)))")
    step_started=$SECONDS
}
print_times() {
    echo "Times:"
    printf '  %s\n' "${times[@]}"
    printf '  %-34s %5d s\n' "total" $((SECONDS - started_at))
}

"$root/scripts/setup.sh" --tests
step_done "set-up"

native="$root/build/native"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$native"
step_done "native build"
status=0
ctest --test-dir "$native" --output-on-failure || status=1
step_done "native tests"
# The launcher's conversation with the VM against HotSpot 17 (and 25 where the machine has it),
# built natively in the tree above (tests/hotspot/run.sh); it fails without HotSpot 17.
"$root/tests/hotspot/run.sh" "$native" || status=1
step_done "HotSpot tier"
# Coverage-guided fuzzing, QOVA_FUZZ_SECONDS per target (the ctest run above only replays the
# seed corpora and blind mutations of them). What it finds fails the run at the end; the
# Windows tests still run.
"$root/scripts/fuzz.sh" "${QOVA_FUZZ_SECONDS:-5}" || status=1
step_done "fuzzing"

win="$root/build/win"
"$root/scripts/build-windows.sh" "$win"
step_done "Windows builds (x64, 32-bit, ARM64)"

# The ARM64 launcher's tests, in ARM64 Wine inside an emulated arm64 root (scripts/setup.sh
# makes it; wine_env_start_arm64), started first and run in the background while the x64 and
# 32-bit tests run: it has a display, a server and a prefix of its own, and most of its time is
# emulation. Skipped where there is no ARM64 build or no root (an error with QOVA_REQUIRE_ARM64
# set); which tests run is said in scripts/wine-run-arm64.sh. Its output is printed when it ends.
arm64="$win/arm64"
arm64_root="$root/build/arm64-root"
arm64_pid=
arm64_log="$win/arm64-tests.log"
if [ -f "$arm64/CTestTestfile.cmake" ] && [ -f "$arm64_root/.qova-root-complete" ]; then
    # A process group of its own (job control on for the start), so that a run stopped early
    # stops it with its ctest and programs; its own trap then stops its Wine and display.
    set -m
    (
        set +e
        arm64_started=$SECONDS
        source "$root/scripts/wine-env.sh"
        trap 'wine_env_stop_arm64; exit 1' TERM
        arm64_status=0
        if wine_env_start_arm64 "$arm64" "$arm64_root"; then
            # Each test program is one ctest test, and runs emulated: more time than the others get.
            ctest --test-dir "$arm64" --output-on-failure --timeout 1200 || arm64_status=1
        else
            arm64_status=1
        fi
        wine_env_stop_arm64
        echo "The ARM64 tests took $((SECONDS - arm64_started)) s"
        exit $arm64_status
    ) </dev/null >"$arm64_log" 2>&1 &
    arm64_pid=$!
    set +m
elif [ -n "${QOVA_REQUIRE_ARM64:-}" ]; then
    echo "FAILED: no ARM64 build in $arm64 or no arm64 root in $arm64_root, and QOVA_REQUIRE_ARM64 is set" >&2
    status=1
else
    echo "SKIPPED: the ARM64 launcher's tests. There is no ARM64 build in $arm64 (no npm for its"
    echo "compiler, or QOVA_ARM64=0) or no arm64 root with Wine in $arm64_root (see scripts/setup.sh)."
fi

source "$root/scripts/wine-env.sh"
wine_env_start "$win"
stop_all() {
    wine_env_stop
    if [ -n "$arm64_pid" ] && kill -0 "$arm64_pid" 2>/dev/null; then
        kill -TERM -- "-$arm64_pid" 2>/dev/null || true
        wait "$arm64_pid" 2>/dev/null || true
    fi
}
trap stop_all EXIT
# Both runs, whatever the first one found. The 32-bit run needs a machine that runs 32-bit
# programs; where it cannot, the run is skipped (an error with QOVA_REQUIRE_32BIT set), and so
# are the 64-bit tests that hand over to the 32-bit launcher. The tests that share the display
# say so (RESOURCE_LOCK): the others run beside them.
ctest --test-dir "$win" --output-on-failure --timeout 600 -j 2 || status=1
step_done "x64 tests"
if wine_runs_32bit "$win"; then
    ctest --test-dir "$win/win32" --output-on-failure --timeout 600 -j 2 || status=1
    step_done "32-bit tests"
elif [ -n "${QOVA_REQUIRE_32BIT:-}" ]; then
    echo "FAILED: Wine cannot run 32-bit programs here, and QOVA_REQUIRE_32BIT is set" >&2
    status=1
else
    echo "SKIPPED: the 32-bit launcher's tests. Wine cannot run 32-bit programs here: the machine"
    echo "cannot run 32-bit x86 code, Wine's 32-bit part is missing, or the prefix $win/wineprefix"
    echo "was made before it was installed (remove it to have it made again)."
fi
if [ -n "$arm64_pid" ]; then
    arm64_status=0
    wait "$arm64_pid" || arm64_status=$?
    step_done "ARM64 tests (after the others)"
    echo "The ARM64 tests' output ($arm64_log):"
    cat "$arm64_log"
    [ "$arm64_status" -eq 0 ] || status=1
fi
print_times
exit $status
