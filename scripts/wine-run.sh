#!/bin/sh
# Runs a Windows test program for ctest. The Wine prefix and display come from scripts/test.sh.
if [ -z "$WINEPREFIX" ] || [ -z "$DISPLAY" ]; then
    echo "wine-run.sh: run the Windows tests through scripts/test.sh (no Wine prefix or display set)" >&2
    exit 2
fi
exec wine "$@"
