#!/usr/bin/env bash
# Configures and builds the Windows tree (launcher, Windows tests, test runtime) in the given
# folder with the MinGW-w64 toolchain. Usage: scripts/build-windows.sh BUILD-DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$1"
