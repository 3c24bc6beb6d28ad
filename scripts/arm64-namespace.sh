#!/usr/bin/env bash
# The inside of the namespace ARM64 Wine runs in (started by wine_env_start_arm64 under
# `unshare --net --mount --fork`). It gives the arm64 root what Wine needs, each mount seen only
# in this namespace: its own /tmp (Wine's server socket, X's sockets, kept apart from the
# host's, whose display numbers would clash), /proc, /dev and /sys, and the given folders at
# their own absolute paths, so a program's Z:\ path is the same inside as outside. Then it
# starts the private display and lives as long as it does.
# Usage: arm64-namespace.sh ROOT READY-FILE FOLDER...
# READY-FILE receives "<Xvfb pid> <display number>" once the display is up.
set -euo pipefail
rootfs=$1
ready=$2
shift 2

# Nothing mounted here reaches the host, whatever the host's propagation settings say.
mount --make-rprivate /
# A fresh network namespace has its loopback down: programs that talk to themselves over
# localhost need it up.
ip link set lo up 2>/dev/null || true
mount -t tmpfs -o mode=1777 qova-arm64-tmp /tmp
mount --bind /tmp "$rootfs/tmp"
mount -t proc proc "$rootfs/proc"
mount --rbind /dev "$rootfs/dev"
mount --rbind /sys "$rootfs/sys"
for folder in "$@"; do
    mkdir -p "$rootfs$folder"
    mount --bind "$folder" "$rootfs$folder"
done

# The host's own Xvfb: it serves the root's programs through the shared /tmp and the abstract
# sockets of this network namespace, and runs natively rather than emulated.
display_file=$(mktemp)
Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$display_file" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
done
[ -s "$display_file" ] || { echo "Xvfb did not start" >&2; kill "$xvfb"; exit 1; }
echo "$xvfb $(cat "$display_file")" >"$ready.partial"
mv "$ready.partial" "$ready"
wait "$xvfb"
