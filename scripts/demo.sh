#!/usr/bin/env bash
# The main job: installs what is missing, builds the launcher and starts a demo Java
# application with it under Wine (with the project's test runtime as the application's
# private runtime). Arguments are passed on to the application.
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
