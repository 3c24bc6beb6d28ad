#!/bin/sh
# Fails when the launcher's own sources load a DLL in a way that a DLL dropped beside the exe,
# in the current folder or on the PATH could answer: a load by bare name, or a load outside the
# few places that know the full path they load from.
#   - Windows DLLs needed for one feature go through loadSystemLibrary (SystemLibrary_win.cpp),
#     which prefixes the system folder; it is given a file name, never a path.
#   - The chosen runtime's JVM library and splash library are loaded by the full path that
#     runtime selection found, in the two files that do so.
# Usage: check-library-loads.sh SOURCE-FOLDER
src=${1:?usage: check-library-loads.sh SOURCE-FOLDER}
[ -d "$src" ] || { echo "no source folder $src"; exit 1; }
status=0

# Every call that loads a module, across line breaks, as FILE:LINE: CALL(ARGUMENTS).
calls=$(find "$src" -name '*.cpp' -o -name '*.h' | sort | xargs perl -0777 -ne '
    while (/\b((?:Co)?Load(?:Packaged)?Library(?:Ex)?[AW]?)\s*(\((?:[^()]++|(?2))*\))/g) {
        my ($function, $arguments, $line) = ($1, $2, 1 + (substr($_, 0, $-[0]) =~ tr/\n//));
        $arguments =~ s/\s+/ /g;
        $arguments =~ s/^\( /(/;
        print "$ARGV:$line: $function$arguments\n";
    }')
[ -n "$calls" ] || { echo "no library loads found under $src: is this the launcher's source folder?"; exit 1; }

while IFS= read -r call; do
    case $call in
        *'("'*|*'(L"'*|*"('"*)
            echo "LOADED BY BARE NAME (use loadSystemLibrary): $call"; status=1 ;;
        */launcher/SystemLibrary_win.cpp:*'LoadLibraryExW(path.c_str(), '*)
            echo "ok, from the system folder: $call" ;;
        */jvm/JvmLibrary_win.cpp:*'LoadLibraryW(path.c_str())')
            echo "ok, the chosen JVM library by full path: $call" ;;
        */splash/RuntimeSplash_win.cpp:*'LoadLibraryW(libraryPath.c_str())')
            echo "ok, the runtime's splash library by full path: $call" ;;
        *)
            echo "LIBRARY LOADED OUTSIDE THE PLACES THAT KNOW ITS FULL PATH: $call"; status=1 ;;
    esac
done <<EOF_CALLS
$calls
EOF_CALLS

# loadSystemLibrary takes a file name of the system folder: a path would leave it.
names=$(grep -rhoE 'loadSystemLibrary\([^)]*\)' "$src" | grep -v 'const wchar_t\* name' |
    sed -E 's/loadSystemLibrary\((.*)\)/\1/')
for name in $names; do
    case $name in
        L\"*[\\/:]*\") echo "SYSTEM LIBRARY NAMED WITH A PATH: $name"; status=1 ;;
        L\"*.dll\") echo "ok, from the system folder: $name" ;;
        *) echo "SYSTEM LIBRARY NOT NAMED BY A LITERAL FILE NAME: $name"; status=1 ;;
    esac
done
exit $status
