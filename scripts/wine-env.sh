# Sourced by the scripts that run Windows programs: an isolated Wine prefix inside the build
# folder, a persistent wineserver and a private Xvfb display. Everything started here is
# stopped again when the sourcing script exits. Usage: wine_env_start <build-dir>
wine_env_start() {
    local build_dir
    build_dir=$(cd "$1" && pwd)
    export WINEPREFIX="$build_dir/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
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
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        # wineboot's status is not reliable; wait until every process it started has
        # finished, so no first-run work is still going on when the tests begin.
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w
        [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot did not create $WINEPREFIX" >&2; return 1; }
        # Xvfb has no window manager: Wine then draws the captions and frames itself, so
        # that windows and their screenshots look as they do on Windows.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p
    # The first Windows program starts Wine's background services, which inherit its output
    # handles and live as long as the server: start them here with output going nowhere, or
    # ctest would wait for the pipes of its first test for ever.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

wine_env_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
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
