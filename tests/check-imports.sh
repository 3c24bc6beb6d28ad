#!/bin/sh
# Fails when a program imports a DLL that does not ship with Windows (a MinGW runtime DLL such as
# libstdc++-6.dll or libwinpthread-1.dll would mean a broken static link), or one of the DLLs
# named after the exe, which the program loads only when the feature that needs them runs.
# With --system-folder-only (the launchers), every import must also be one of the known DLLs:
# Windows loads those from its system folder whatever lies beside the exe, so a DLL dropped in
# the application's folder never takes their place. Other Windows DLLs (version.dll, msimg32.dll)
# are looked for beside the exe first.
# --objdump names the objdump that reads the exe's architecture (MinGW-w64's x86_64 one reads
# both x86 images, LLVM's the ARM64 one).
# Usage: check-imports.sh [--objdump OBJDUMP] [--system-folder-only] EXE [DLL-LOADED-AT-RUN-TIME...]
system_folder_only=
objdump=x86_64-w64-mingw32-objdump
if [ "$1" = --objdump ]; then
    objdump=$2
    shift 2
fi
if [ "$1" = --system-folder-only ]; then
    system_folder_only=yes
    shift
fi
exe=$1
shift
imports=$("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ -n "$imports" ] || { echo "no imports found in $exe"; exit 1; }
status=0
for dll in $imports; do
    lower=$(echo "$dll" | tr 'A-Z' 'a-z')
    case $lower in
        # Known DLLs of every Windows from 7 on.
        advapi32.dll|comdlg32.dll|gdi32.dll|imagehlp.dll|imm32.dll|kernel32.dll|msvcrt.dll|\
        ole32.dll|oleaut32.dll|psapi.dll|rpcrt4.dll|setupapi.dll|shell32.dll|shlwapi.dll|\
        user32.dll|ws2_32.dll)
            echo "ok: $dll" ;;
        comctl32.dll|msimg32.dll|version.dll|api-ms-win-crt-*.dll|api-ms-win-core-*.dll|ucrtbase.dll)
            if [ -n "$system_folder_only" ]; then
                echo "NOT ALWAYS LOADED FROM THE SYSTEM FOLDER: $dll"
                status=1
            else
                echo "ok: $dll"
            fi ;;
        *) echo "NOT A WINDOWS DLL: $dll"; status=1 ;;
    esac
    for lazy in "$@"; do
        if [ "$lower" = "$(echo "$lazy" | tr 'A-Z' 'a-z')" ]; then
            echo "IMPORTED, BUT TO BE LOADED ONLY WHEN NEEDED: $dll"
            status=1
        fi
    done
done
exit $status
