#!/usr/bin/env bash
# Checks that the commit checked out builds the same bytes every time: it builds the release
# (scripts/release.sh: the launchers (the ARM64 one too, with the machine's zig cache, whose path
# the launcher_reproducible checks keep out of the bytes), qova-stamp.exe, the Linux qova-stamp and
# the archive) twice, from two copies of
# the commit in folders of different absolute paths, one after the other, the second with
# another umask and time zone; then compares the archives and every file they hold, and prints
# for each file whether it is identical, or the offset of its first differing byte. Exits
# non-zero when anything differs. Two full builds: this takes a while.
# Usage: scripts/reproducible.sh [WORK-DIR]   (default build/reproducible, emptied first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-$root/build/reproducible}
case "${1:-}" in -h|--help) sed -n '2,8s/^# \{0,1\}//p' "$0"; exit 0 ;; esac
version=reproducible
name="qova-launcher-$version"

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
# A copy holds no repository: the archive's dates come from the commit's time, as they do when
# the release script runs in a checkout.
commit=$(git -C "$root" rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

build_once() { # FOLDER
    mkdir -p "$1"
    git -C "$root" archive "$commit" | tar -x -C "$1"
    echo "building $commit in $1"
    "$1/scripts/release.sh" --build-dir "$1/build/release" "$version" >"$1.log" 2>&1 ||
        { tail -n 30 "$1.log"; echo "the build in $1 failed (log: $1.log)"; exit 1; }
    mkdir "$1.unpacked"
    (cd "$1.unpacked" && cmake -E tar xf "$1/build/$name.zip")
}
build_once "$work/first/source"
(umask 0002 && TZ=Pacific/Chatham && export TZ && build_once "$work/the-second-build/qova")

first="$work/first/source" second="$work/the-second-build/qova"
status=0
compare() { # LABEL FILE-A FILE-B
    local difference
    if [ ! -f "$3" ]; then
        echo "MISSING    $1 (only in the first build)"; status=1
    elif difference=$(cmp "$2" "$3" 2>&1); then
        echo "identical  $1"
    else
        local byte
        byte=$(sed -n 's/.*differ: byte \([0-9]*\).*/\1/p' <<<"$difference")
        if [ -n "$byte" ]; then
            printf 'DIFFERS    %s: first at offset %d (0x%x)\n' "$1" $((byte - 1)) $((byte - 1))
        else
            echo "DIFFERS    $1: $difference"
        fi
        status=1
    fi
}
compare "$name.zip" "$first/build/$name.zip" "$second/build/$name.zip"
while IFS= read -r -d '' file; do
    relative=${file#"$first.unpacked/"}
    compare "$relative" "$file" "$second.unpacked/$relative"
done < <(find "$first.unpacked" -type f -print0 | sort -z)
while IFS= read -r -d '' file; do
    relative=${file#"$second.unpacked/"}
    [ -f "$first.unpacked/$relative" ] || { echo "MISSING    $relative (only in the second build)"; status=1; }
done < <(find "$second.unpacked" -type f -print0 | sort -z)
[ $status -eq 0 ] && echo "reproducible: every shipped file of $commit is identical in both builds"
exit $status
