#!/usr/bin/env bash
# Makes the pictures of the user documentation again: runs the end-to-end tests that show the
# splash screen, both dialogs and a message box under Wine and a private Xvfb display (they save
# build/win/screenshots/docs-*.png), and writes them compressed into docs/images.
# Usage: scripts/docs-images.sh [BUILD-DIR]   (default build/win; configured and built as needed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/win}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --target e2e_tests
build=$(cd "$build" && pwd)

source "$root/scripts/wine-env.sh"
wine_env_start "$build"
rm -f "$build"/screenshots/docs-*.png
wine "$build/bin/e2e_tests.exe" --gtest_filter='DocumentationImages.*' </dev/null

mkdir -p "$root/docs/images"
for name in splash missing-runtime java-exception message-box; do
    python3 "$root/scripts/compress-png.py" "$build/screenshots/docs-$name.png" \
        "$root/docs/images/$name.png"
    echo "docs/images/$name.png: $(stat -c %s "$root/docs/images/$name.png") bytes"
done
