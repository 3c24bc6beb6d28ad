#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under ASan/UBSan (tier 1), its parsers
# under libFuzzer for a few seconds each, the Windows operations under Wine (tier 2) and the
# real launcher end to end (tier 3); then the paired 32-bit launcher's tests (its test runtime
# and the end-to-end tests that apply to it), which the Windows build builds in win32 inside its
# folder; then the ARM64 launcher's, built in arm64 inside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --tests

native="$root/build/native"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$native"
ctest --test-dir "$native" --output-on-failure
# Coverage-guided fuzzing, QOVA_FUZZ_SECONDS per target (the ctest run above only replays the
# seed corpora and blind mutations of them). What it finds fails the run at the end; the
# Windows tests still run.
status=0
"$root/scripts/fuzz.sh" "${QOVA_FUZZ_SECONDS:-5}" || status=1

win="$root/build/win"
"$root/scripts/build-windows.sh" "$win"
source "$root/scripts/wine-env.sh"
wine_env_start "$win"
# Both runs, whatever the first one found. The 32-bit run needs a machine that runs 32-bit
# programs; where it cannot, the run is skipped (an error with QOVA_REQUIRE_32BIT set), and so
# are the 64-bit tests that hand over to the 32-bit launcher.
ctest --test-dir "$win" --output-on-failure --timeout 600 || status=1
if wine_runs_32bit "$win"; then
    ctest --test-dir "$win/win32" --output-on-failure --timeout 600 || status=1
elif [ -n "${QOVA_REQUIRE_32BIT:-}" ]; then
    echo "FAILED: Wine cannot run 32-bit programs here, and QOVA_REQUIRE_32BIT is set" >&2
    status=1
else
    echo "SKIPPED: the 32-bit launcher's tests. Wine cannot run 32-bit programs here: the machine"
    echo "cannot run 32-bit x86 code, Wine's 32-bit part is missing, or the prefix $win/wineprefix"
    echo "was made before it was installed (remove it to have it made again)."
fi
# The ARM64 launcher's tests, in ARM64 Wine inside an emulated arm64 root (scripts/setup.sh
# makes it; wine_env_start_arm64). Skipped where there is no ARM64 build or no root (an error
# with QOVA_REQUIRE_ARM64 set); which tests run is said in scripts/wine-run-arm64.sh.
arm64="$win/arm64"
arm64_root="$root/build/arm64-root"
if [ -f "$arm64/CTestTestfile.cmake" ] && [ -f "$arm64_root/.qova-root-complete" ]; then
    started=$SECONDS
    if wine_env_start_arm64 "$arm64" "$arm64_root"; then
        # Each test program is one ctest test, and runs emulated: more time than the others get.
        ctest --test-dir "$arm64" --output-on-failure --timeout 1200 || status=1
    else
        status=1
    fi
    wine_env_stop_arm64
    echo "The ARM64 tests took $((SECONDS - started)) s"
elif [ -n "${QOVA_REQUIRE_ARM64:-}" ]; then
    echo "FAILED: no ARM64 build in $arm64 or no arm64 root in $arm64_root, and QOVA_REQUIRE_ARM64 is set" >&2
    status=1
else
    echo "SKIPPED: the ARM64 launcher's tests. There is no ARM64 build in $arm64 (no npm for its"
    echo "compiler, or QOVA_ARM64=0) or no arm64 root with Wine in $arm64_root (see scripts/setup.sh)."
fi
exit $status
