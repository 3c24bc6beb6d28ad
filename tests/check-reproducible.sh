#!/bin/sh
# Builds the launcher again in a second folder, whose absolute path differs from the first
# build's, and fails unless it has the same bytes as the launcher of the first build: a path or
# a time that reaches the exe shows here. Only the launcher target is built, with the toolchain
# and build type of the first build; the folder is kept, so a later run only builds what changed.
# Usage: check-reproducible.sh CMAKE TOOLCHAIN-FILE BUILD-TYPE LAUNCHER-EXE SECOND-BUILD-DIR
cmake=$1 toolchain=$2 build_type=$3 launcher=$4 second=$5
root=$(cd "$(dirname "$0")/.." && pwd)

"$cmake" -S "$root" -B "$second" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" >"$second.log" 2>&1 &&
    "$cmake" --build "$second" --target launcher >>"$second.log" 2>&1 ||
    { cat "$second.log"; echo "the second build of the launcher failed"; exit 1; }
again="$second/bin/launcher.exe"
if difference=$(cmp "$launcher" "$again" 2>&1); then
    echo "ok: $launcher and $again are identical ($(wc -c <"$launcher") bytes)"
    exit 0
fi
echo "NOT REPRODUCIBLE: $difference"
exit 1
