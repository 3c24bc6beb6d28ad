#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under ASan/UBSan (tier 1), the
# Windows operations under Wine (tier 2) and the real launcher end to end (tier 3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

native="$root/build/native"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$native"
ctest --test-dir "$native" --output-on-failure

win="$root/build/win"
"$root/scripts/build-windows.sh" "$win"
source "$root/scripts/wine-env.sh"
wine_env_start "$win"
ctest --test-dir "$win" --output-on-failure --timeout 600
