#!/usr/bin/env bash
# The ARM64 tests' runner (scripts/wine-run-arm64.sh) passes a program what ctest gives it and
# gives back what the program did: its arguments whole, the environment, its folder at the same
# path inside the emulated root, its output and its exit status; it adds the tier's test filter
# to the test programs it names, before arguments of one's own; and it refuses to run outside
# the ARM64 Wine of scripts/test.sh. Each row runs a copy of the ARM64 paired_probe.exe.
# Usage: check-arm64-runner.sh PAIRED-PROBE-EXE
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
runner="$here/../scripts/wine-run-arm64.sh"
probe=$1
folder=$(mktemp -d -p "$(dirname "$probe")" runner-check.XXXXXX)
trap 'rm -rf "$folder"' EXIT
failures=0

# The command line the probe saw (it writes it as UTF-16 beside itself).
command_line() {
    iconv -f UTF-16LE -t UTF-8 "$1.cmdline" 2>/dev/null
}

# Row: NAME, program name, exit code to end with, text to print, expected status, expected
# output, text its command line must contain, then the program's arguments.
row() {
    local name=$1 program="$folder/$2" code=$3 text=$4 want_status=$5 want_output=$6 want_line=$7
    shift 7
    cp "$probe" "$program"
    rm -f "$program.cmdline"
    local output status=0 line
    output=$(cd "$folder" && QOVA_PROBE_EXIT_CODE=$code QOVA_PROBE_OUTPUT=$text \
        "$runner" "$program" "$@" 2>&1 | tr -d '\r') || status=$?
    line=$(command_line "$program")
    if [ "$status" -ne "$want_status" ] || [ "$output" != "$want_output" ] ||
        [[ "$line" != *"$want_line"* ]]; then
        echo "FAILED $name: status $status (want $want_status), output '$output' (want '$want_output')"
        echo "    command line: $line (want it to contain: $want_line)"
        failures=$((failures + 1))
    fi
}

z_folder="Z:${folder//\//\\}"
row "status and environment reach both sides" probe.exe 7 "" 7 "" "probe.exe"
row "success stays success" probe.exe 0 "" 0 "" "probe.exe"
row "output passes through" probe.exe 0 "ARM64 probe" 0 "ARM64 probe" "probe.exe"
row "arguments stay whole" probe.exe 0 "" 0 "" '"two words" quote\"d last' \
    "two words" 'quote"d' last
row "the same folder, same path inside" probe.exe 0 "" 0 "" "$z_folder\\probe.exe"
row "the tier's filter, before one's own arguments" e2e_tests.exe 0 "" 0 "" \
    'e2e_tests.exe" --gtest_filter=LauncherStart.*' --gtest_filter=Own.*
row "own arguments last, so they take precedence" e2e_tests.exe 0 "" 0 "" \
    "-*.MovedToAMonitorOfTwiceTheScaleLooksAsOpenedThere:*.OnlyAFolderWithAJvmLibraryEnablesOkWhichLaunchesAndRemembersIt --gtest_filter=Own.*" \
    --gtest_filter=Own.*
row "no filter for other programs" drive.exe 0 "" 0 "" '\drive.exe" last' last

# Outside scripts/test.sh's ARM64 Wine the runner fails and says why, whatever the program.
cp "$probe" "$folder/outside.exe"
status=0
output=$(env -u QOVA_ARM64_NAMESPACE_PID QOVA_PROBE_EXIT_CODE=0 "$runner" "$folder/outside.exe" 2>&1) ||
    status=$?
if [ "$status" -ne 2 ] || [[ "$output" != *"scripts/test.sh"* ]] || [ -e "$folder/outside.exe.cmdline" ]; then
    echo "FAILED outside the ARM64 Wine: status $status (want 2), output '$output'"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "The ARM64 runner passed every check"
exit $((failures > 0))
