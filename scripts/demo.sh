#!/usr/bin/env bash
# The main job: installs what is missing, builds both launchers (64-bit, and its paired 32-bit
# build) and starts a demo Java application with them under Wine, with the project's test
# runtime standing in for Java: once with a 64-bit runtime, once with only a 32-bit one, which
# the 64-bit launcher hands over to the 32-bit launcher. Arguments are passed on to the
# application.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"

win="$root/build/win"
"$root/scripts/build-windows.sh" "$win"
source "$root/scripts/wine-env.sh"
wine_env_start "$win"

demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo"
if (($# == 0)); then set -- "first argument" second "-nosplash"; fi
wine "$win/bin/demo.exe" "$(winepath -w "$demo")" "$@"
