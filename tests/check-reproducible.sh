#!/bin/sh
# The launcher's bytes carry nothing of where or when it was built: no time in its file header,
# no debug directory (whose record names a .pdb with a random identifier), and none of the
# folders its build saw (the source and build folders, the compiler's cache), written with
# either slash, in 8-bit or UTF-16 text. These are what made two builds of one commit differ;
# they are checked on the launcher already built, without building it again.
# scripts/reproducible.sh builds the whole release twice in two folders and compares every
# byte: the full proof, which takes two builds.
# Usage: check-reproducible.sh READOBJ LAUNCHER-EXE FOLDER...
readobj=$1 launcher=$2
shift 2
[ -f "$launcher" ] || { echo "no launcher at $launcher"; exit 1; }
headers=$("$readobj" --file-headers --coff-debug-directory "$launcher") ||
    { echo "$readobj cannot read $launcher"; exit 1; }
status=0
stamp=$(printf '%s\n' "$headers" | sed -n 's/^ *TimeDateStamp: .*(\(0x[0-9A-Fa-f]*\)).*/\1/p' | head -n 1)
if [ "$stamp" != 0x0 ]; then
    echo "NOT REPRODUCIBLE: the file header holds a time ($stamp)"
    status=1
fi
if printf '%s\n' "$headers" | grep -q 'DebugEntry'; then
    echo "NOT REPRODUCIBLE: the image has a debug directory:"
    printf '%s\n' "$headers" | sed -n '/DebugEntry/,$p'
    status=1
fi
python3 - "$launcher" "$@" <<'PY' || status=1
import os, sys
image = open(sys.argv[1], "rb").read()
found = False
for folder in sys.argv[2:]:
    for path in {folder, os.path.realpath(folder)}:
        path = path.rstrip("/")
        for text in (path, path.replace("/", "\\")):
            for form, data in (("8-bit", text.encode()), ("UTF-16", text.encode("utf-16-le"))):
                at = image.find(data)
                if at >= 0:
                    print(f"NOT REPRODUCIBLE: the {form} text {text} at offset {at:#x}")
                    found = True
sys.exit(1 if found else 0)
PY
[ "$status" -eq 0 ] && echo "ok: $launcher ($(wc -c <"$launcher") bytes) has no time, no debug directory and none of: $*"
exit "$status"
