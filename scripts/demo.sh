#!/usr/bin/env bash
# The main job: installs what is missing, builds both launchers (64-bit, and its paired 32-bit
# build) and starts a demo Java application with them under Wine, with the project's test
# runtime standing in for Java: once with a 64-bit runtime, once with only a 32-bit one, which
# the 64-bit launcher hands over to the 32-bit launcher. Then a command-line tool: the launcher
# stamped as a console program prints in this terminal, and the script ends with its
# application's exit code. Arguments are passed on to the application.
# It builds only what it shows (the launchers, the stamping tool, the test runtime and the demo
# program), in a build folder of its own, not the test suites; and it installs only what those
# need: not zig, the ARM64 launcher's compiler (hundreds of megabytes), as it shows no ARM64
# launcher. The test command and the release install it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
QOVA_ARM64=0 "$root/scripts/setup.sh"

win="$root/build/demo-win"
cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DQOVA_ARM64=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    "-DQOVA_PAIRED_TARGETS=launcher;paired_probe;testjvm_jvm;testjvm_java" >/dev/null
cmake --build "$win" --target demo
source "$root/scripts/wine-env.sh"
wine_env_start "$win"

demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo"
if (($# == 0)); then set -- "first argument" second "-nosplash"; fi
wine "$win/bin/demo.exe" "$(winepath -w "$demo")" "$@"
