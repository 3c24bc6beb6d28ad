#!/usr/bin/env bash
# Builds the launcher (64-bit, and the 32-bit paired launcher as launcher32.exe) and the stamping
# tool for release (MinSizeRel, MinGW-w64) and packs them, with the sample settings file, the
# launch trace reader explain.py and the user documentation (docs, with its pictures), into one
# archive:
# build/qova-launcher-VERSION.zip, holding the folder qova-launcher-VERSION.
# Usage: scripts/release.sh [--build-dir DIR] VERSION
#   --build-dir DIR  build in DIR (an existing MinSizeRel Windows tree is reused) instead of
#                    build/release
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/release"
version=""
usage() { sed -n '2,9s/^# \{0,1\}//p' "$0"; }
while [ $# -gt 0 ]; do
    case "$1" in
        --build-dir) [ $# -ge 2 ] || { usage >&2; exit 2; }; build=$2; shift 2 ;;
        -h|--help) usage; exit 0 ;;
        -*) echo "release.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
        *) [ -z "$version" ] || { usage >&2; exit 2; }; version=$1; shift ;;
    esac
done
# The version names a file and a folder: keep it to characters that are safe in both.
if ! [[ "$version" =~ ^[0-9A-Za-z][0-9A-Za-z.+_-]*$ ]]; then
    echo "release.sh: give a VERSION of letters, digits and . + _ - (for example 1.2.0)" >&2
    exit 2
fi
if [ -f "$build/CMakeCache.txt" ] && ! grep -q '^CMAKE_BUILD_TYPE:STRING=MinSizeRel$' "$build/CMakeCache.txt"; then
    echo "release.sh: $build is not a MinSizeRel build" >&2
    exit 2
fi

"$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target launcher qova-stamp paired_launcher

name="qova-launcher-$version"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp "$build/bin/launcher.exe" "$build/bin/qova-stamp.exe" "$stage/$name/"
cp "$build/win32/bin/launcher.exe" "$stage/$name/launcher32.exe"
cp "$root/packaging/sample.ini" "$root/scripts/explain.py" "$stage/$name/"
cp -R "$root/docs" "$stage/$name/docs"

# CMake writes the zip itself, so packing needs nothing beyond what building needs.
archive="$root/build/$name.zip"
mkdir -p "$root/build"
rm -f "$archive"
(cd "$stage" && cmake -E tar cf "$archive" --format=zip "$name")
echo "$archive"
