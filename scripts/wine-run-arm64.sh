#!/bin/sh
# Runs an ARM64 Windows program for ctest: a stand-in until the ARM64 test runner is in place.
echo "wine-run-arm64.sh: no ARM64 Wine runner yet; cannot run $*" >&2
exit 2
