#!/bin/sh
# Fails when the launcher imports a DLL that does not ship with Windows (a MinGW runtime DLL
# such as libstdc++-6.dll or libwinpthread-1.dll would mean a broken static link), or one of the
# DLLs named after the exe, which the launcher loads only when the feature that needs them runs.
# Usage: check-imports.sh EXE [DLL-LOADED-AT-RUN-TIME...]
exe=$1
shift
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "no imports found in $exe"; exit 1; }
status=0
for dll in $imports; do
    case $(echo "$dll" | tr 'A-Z' 'a-z') in
        kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll|\
        comctl32.dll|comdlg32.dll|msimg32.dll|msvcrt.dll|shlwapi.dll|version.dll|\
        api-ms-win-crt-*.dll|api-ms-win-core-*.dll|ucrtbase.dll)
            echo "ok: $dll" ;;
        *) echo "NOT A WINDOWS DLL: $dll"; status=1 ;;
    esac
    for lazy in "$@"; do
        if [ "$(echo "$dll" | tr 'A-Z' 'a-z')" = "$(echo "$lazy" | tr 'A-Z' 'a-z')" ]; then
            echo "IMPORTED, BUT TO BE LOADED ONLY WHEN NEEDED: $dll"
            status=1
        fi
    done
done
exit $status
