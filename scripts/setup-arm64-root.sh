#!/usr/bin/env bash
# Makes what the ARM64 launcher's tests run in on an x86_64 Linux machine, when it is missing:
# qemu's user emulation registered with the kernel for aarch64 programs, and an arm64 Debian
# root with Debian's own arm64 Wine, which runs aarch64 Windows programs. The root lives in the
# machine cache (scripts/machine-cache.sh), named by what it is made of, and is shared by every
# clone on the machine (scripts/setup.sh links build/arm64-root to it); it is made again only
# when it is missing or was left incomplete: its marker file is written last.
# Usage: scripts/setup-arm64-root.sh [ROOT-FOLDER]
# Ends with 0 when the root is ready, with 3 when this machine cannot have one (said why),
# with another status when making it failed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/machine-cache.sh"
target=${1:-$(qova_arm64_root)}
sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

skip() {
    echo "No ARM64 test root: $*"
    exit 3
}

[ "${QOVA_ARM64:-1}" != 0 ] || skip "QOVA_ARM64=0 turns the ARM64 build and its tests off"
# The ARM64 launcher is built with a compiler that comes from npm: without npm there is no
# ARM64 build, so nothing to run here either.
command -v npm >/dev/null || skip "npm is missing, so the ARM64 launcher is not built here"
[ "$(uname -m)" = x86_64 ] || skip "the emulated root is made on x86_64 hosts only (this is $(uname -m))"

# What the root is made of. Changing this list makes the root again: the marker holds it.
root_packages=$QOVA_ARM64_ROOT_PACKAGES
marker="$target/.qova-root-complete"

# The host's part (qemu-user-static, binfmt-support, mmdebstrap, arch-test) is installed by
# scripts/setup.sh --tests with the rest.
for tool in mmdebstrap update-binfmts arch-test qemu-aarch64-static; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is missing (scripts/setup.sh --tests installs it)"
done

# The kernel hands aarch64 programs to qemu once binfmt_misc is mounted and the entry enabled;
# the entry is registered with the "fix binary" flag, so qemu needs no copy inside the root.
if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    $sudo_cmd mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc ||
        skip "binfmt_misc cannot be mounted here (a container without the privilege?)"
fi
$sudo_cmd update-binfmts --enable qemu-aarch64 >/dev/null 2>&1 || true
arch-test arm64 >/dev/null 2>&1 || skip "this machine cannot run arm64 programs through qemu"

if [ -f "$marker" ] && [ "$(cat "$marker")" = "$root_packages" ]; then
    exit 0
fi
# Made beside its final place and moved there whole, so a root that is there is complete up to
# its marker, and an interrupted attempt leaves only its side folder, removed the next time. Two
# clones making it at once each make their own side folder; the first to finish keeps its root.
echo "Making the arm64 Debian root $target (a few minutes, about 800 MB)"
partial="$target.partial.$$"
rm -rf "$target" "$target".partial*
mkdir -p "$partial"
log="$target.log"
if ! $sudo_cmd mmdebstrap --arch=arm64 --variant=apt --format=directory --include="$root_packages" \
    "$QOVA_ARM64_ROOT_SUITE" "$partial" >"$log" 2>&1; then
    tail -20 "$log" >&2
    echo "mmdebstrap failed: the whole log is $log" >&2
    rm -rf "$partial"
    exit 1
fi
echo "$root_packages" >"$partial/.qova-root-complete"
mv -T "$partial" "$target" 2>/dev/null || rm -rf "$partial"
