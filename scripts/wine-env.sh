# Sourced by the scripts that run Windows programs: an isolated Wine prefix inside the build
# folder, a persistent wineserver and a private Xvfb display. Everything started here is
# stopped again when the sourcing script exits. Usage: wine_env_start <build-dir>
# The ARM64 launcher's tests run in an ARM64 Wine of their own, inside an emulated arm64 root:
# wine_env_start_arm64 <build-dir> <root> (below).

# The settings every Wine run of the tests has: no debug output, no prompts to install Mono or
# Gecko, a 64-bit prefix.
wine_env_settings() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
}

# Makes the prefix when it is missing and starts its persistent server and background services.
# RUNNER runs a command where that Wine lives: `command` for the host's Wine, wine_arm64_exec
# for the ARM64 Wine. Usage: wine_prefix_prepare RUNNER PREFIX
wine_prefix_prepare() {
    local run=$1 prefix=$2
    if [ ! -f "$prefix/system.reg" ]; then
        echo "Creating the Wine prefix $prefix"
        # wineboot's status is not reliable; wait until every process it started has
        # finished, so no first-run work is still going on when the tests begin.
        $run wineboot -i >/dev/null 2>&1 || true
        $run wineserver -w
        [ -f "$prefix/system.reg" ] || { echo "wineboot did not create $prefix" >&2; return 1; }
        # Xvfb has no window manager: Wine then draws the captions and frames itself, so
        # that windows and their screenshots look as they do on Windows.
        $run wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
        $run wineserver -w
    fi
    $run wineserver -p
    # The first Windows program starts Wine's background services, which inherit its output
    # handles and live as long as the server: start them here with output going nowhere, or
    # ctest would wait for the pipes of its first test for ever. Wine keeps no event log that
    # could be read back: it writes each entry on the event-log debug channel of the process
    # that reports it, and the services the service manager starts write theirs here
    # (tests/e2e/ServiceTest.cpp reads it).
    local events="$prefix/event-log.txt"
    : >"$events"
    WINEDEBUG=-all,err+eventlog $run wine cmd.exe /c exit </dev/null >/dev/null 2>>"$events" || true
    export QOVA_WINE_EVENT_LOG="Z:${events//\//\\}"
}

wine_env_start() {
    local build_dir
    build_dir=$(cd "$1" && pwd)
    export WINEPREFIX="$build_dir/wineprefix"
    wine_env_settings
    # Xvfb picks a free display and writes its number to the descriptor we give it.
    local display_file="$build_dir/xvfb-display"
    rm -f "$display_file"
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp 9>"$display_file" >/dev/null 2>&1 &
    QOVA_XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(cat "$display_file")"
    trap wine_env_stop EXIT
    wine_prefix_prepare command "$WINEPREFIX"
}

wine_env_stop() {
    wine_env_stop_arm64
    [ -n "${QOVA_XVFB_PID:-}" ] && wineserver -k >/dev/null 2>&1 || true
    [ -n "${QOVA_XVFB_PID:-}" ] && kill "$QOVA_XVFB_PID" >/dev/null 2>&1 || true
}

# True when Wine runs 32-bit programs in the prefix: the 32-bit build's probe, copied to a fresh
# folder, ends with the exit code it is given. Needs Wine's 32-bit part, which a machine that
# cannot run 32-bit x86 code does not get (scripts/setup.sh). Usage: wine_runs_32bit <build-dir>
wine_runs_32bit() {
    local folder status=0
    folder=$(mktemp -d -p "$1")
    cp "$1/win32/bin/paired_probe.exe" "$folder/" || { rm -rf "$folder"; return 1; }
    QOVA_PROBE_EXIT_CODE=7 timeout 120 wine "$folder/paired_probe.exe" </dev/null >/dev/null 2>&1 ||
        status=$?
    rm -rf "$folder"
    [ "$status" -eq 7 ]
}

# ARM64 Wine, which runs aarch64 Windows programs, is Debian's arm64 Wine in an arm64 Debian root
# (scripts/setup-arm64-root.sh), run through qemu's user emulation. It lives in one long-lived
# namespace of its own (scripts/arm64-namespace.sh): a private /tmp and network, so its server
# socket and display stay apart from the host's; the source and build folders at their own paths,
# so Z:\ paths agree inside and out; a private display; a prefix in <build-dir>/wineprefix with
# the settings above and a persistent wineserver, both emulated. Its settings are kept in
# variables of their own (QOVA_ARM64_*), not in WINEPREFIX and DISPLAY, so the host's Wine
# started by wine_env_start keeps working beside it. Usage: wine_env_start_arm64 <build-dir> <root>
wine_env_start_arm64() {
    local build_dir rootfs source_dir ready
    build_dir=$(cd "$1" && pwd)
    rootfs=$(cd "$2" && pwd -P)
    source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    export QOVA_ARM64_ROOT="$rootfs"
    export QOVA_ARM64_WINEPREFIX="$build_dir/wineprefix"
    ready="$build_dir/arm64-namespace"
    rm -f "$ready"
    unshare --net --mount --fork --kill-child -- bash "$source_dir/scripts/arm64-namespace.sh" "$rootfs" "$ready" \
        "$source_dir" "$build_dir" </dev/null >/dev/null 2>"$build_dir/arm64-namespace.log" &
    export QOVA_ARM64_NAMESPACE_PID=$!
    trap wine_env_stop EXIT
    for _ in $(seq 1 100); do
        [ -s "$ready" ] && break
        kill -0 "$QOVA_ARM64_NAMESPACE_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$ready" ]; then
        echo "The ARM64 namespace did not start (see $build_dir/arm64-namespace.log):" >&2
        cat "$build_dir/arm64-namespace.log" >&2
        return 1
    fi
    read -r QOVA_ARM64_XVFB_PID QOVA_ARM64_DISPLAY_NUMBER <"$ready"
    export QOVA_ARM64_DISPLAY=":$QOVA_ARM64_DISPLAY_NUMBER"
    wine_prefix_prepare wine_arm64_exec "$QOVA_ARM64_WINEPREFIX"
}

# Runs a Linux command of the arm64 root (wine, wineserver, ...) inside the ARM64 namespace with
# the ARM64 Wine settings, in the current folder, passing its input, output and status through.
# Usage: wine_arm64_exec COMMAND [ARGS...]
wine_arm64_exec() {
    if [ -z "${QOVA_ARM64_NAMESPACE_PID:-}" ] || [ -z "${QOVA_ARM64_ROOT:-}" ]; then
        echo "wine_arm64_exec: no ARM64 Wine environment (run the tests through scripts/test.sh)" >&2
        return 2
    fi
    (
        wine_env_settings
        export WINEPREFIX="$QOVA_ARM64_WINEPREFIX" DISPLAY="$QOVA_ARM64_DISPLAY"
        # chroot starts in the root's "/": the command runs in the folder it was given, which
        # the namespace shows at the same path (or in "/" when it is a folder it does not show).
        exec nsenter --target "$QOVA_ARM64_NAMESPACE_PID" --mount --net -- \
            chroot "$QOVA_ARM64_ROOT" /bin/sh -c 'cd "$0" 2>/dev/null || cd /; exec "$@"' "$PWD" "$@"
    )
}

# Stops what wine_env_start_arm64 started: the server (and every program still running under
# it), the display, and with them the namespace. Nothing when it was not started.
wine_env_stop_arm64() {
    [ -n "${QOVA_ARM64_NAMESPACE_PID:-}" ] || return 0
    wine_arm64_exec wineserver -k >/dev/null 2>&1 || true
    [ -n "${QOVA_ARM64_XVFB_PID:-}" ] && kill "$QOVA_ARM64_XVFB_PID" >/dev/null 2>&1 || true
    kill "$QOVA_ARM64_NAMESPACE_PID" >/dev/null 2>&1 || true
    wait "$QOVA_ARM64_NAMESPACE_PID" 2>/dev/null || true
    unset QOVA_ARM64_NAMESPACE_PID QOVA_ARM64_XVFB_PID
}
