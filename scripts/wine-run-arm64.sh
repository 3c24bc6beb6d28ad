#!/usr/bin/env bash
# Runs a Windows test program of the ARM64 build for ctest, in the ARM64 Wine that
# scripts/test.sh starts (wine_env_start_arm64 in scripts/wine-env.sh), with the program's
# output and exit status passed through. Usage: wine-run-arm64.sh PROGRAM [ARGS...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-env.sh"
if [ -z "${QOVA_ARM64_NAMESPACE_PID:-}" ] || ! kill -0 "$QOVA_ARM64_NAMESPACE_PID" 2>/dev/null; then
    echo "wine-run-arm64.sh: run the ARM64 tests through scripts/test.sh (no ARM64 Wine running)" >&2
    exit 2
fi
[ $# -ge 1 ] || { echo "usage: wine-run-arm64.sh PROGRAM [ARGS...]" >&2; exit 2; }

# The tests the ARM64 tier runs, stated here and nowhere else. Every program runs emulated
# instruction by instruction (qemu) and a launch takes seconds, so the tier runs the Windows
# operations' tests, the stand-in runtime's, and the end-to-end tests of what the architecture
# touches: a launch and its options, runtime selection with its architecture check, the dialogs,
# the splash screen, single instance, and the launcher as it ships, stamped by the ARM64 tool:
# with embedded settings alone, as a console program (pipes, a message on standard error, the
# exit code), and signed (tests/stamp/check-signing.sh, a test of its own). It leaves out:
# - benchmarks: their figures mean nothing under emulation, and they are the slowest tests;
# - the dialogs moved to a monitor of another scale: their driver hands the dialog its new
#   rectangle in the dialog process's own memory, and gets no answer in this emulated Wine (the
#   x64 run tests the same dialog code);
# - the launch that drives the shell's folder browser from the missing-runtime dialog: the
#   browser never came up for its driver in this emulated Wine, within three minutes (the
#   dialog itself, its message and its buttons are tested here);
# - launches handed over to a real paired launcher: this Wine runs aarch64 programs only, not the
#   x64 or 32-bit launchers a launch would hand over to. The hand-over tests (PairedProduct) run:
#   their paired launcher is a probe of this build;
# - the end-to-end tests of portable code that the x64 run covers byte for byte the same
#   (hostile settings and runtimes, traces, the other console cases, code pages, deep and
#   non-ANSI folders, modules, output redirection) and the documentation pictures, which come
#   from the x64 run.
# Other programs run whole. ARGS given after these (a --gtest_filter of one's own, when running
# by hand) take precedence.
program_filter() {
    case "$(basename "$1")" in
    windows_tests.exe)
        echo "-*Benchmark*"
        ;;
    e2e_tests.exe)
        echo "LauncherStart.*:JavaLaunch.*:JarLaunch.*:VmOptions.*:JavaCommandSyntax.*:RuntimeSelection.*"`
            `":MissingRuntimeDialog.*:ExceptionDialog.*:SplashScreen.*:SingleInstance.*"`
            `":PairedProduct.*:StampedLaunch.*:SelfContainedLaunch.*"`
            `":ConsoleApplication.OutputAndInputGoThroughThePipesAndExitGivesTheStatus"`
            `":ConsoleApplication.EveryFailureIsALineOnStandardErrorAndTheFailureCode"`
            `"-*.MovedToAMonitorOfTwiceTheScaleLooksAsOpenedThere"`
            `":*.OnlyAFolderWithAJvmLibraryEnablesOkWhichLaunchesAndRemembersIt"
        ;;
    testjvm_tests.exe)
        echo "*"
        ;;
    esac
}

filter=$(program_filter "$1")
program=$1
shift
if [ -n "$filter" ]; then
    set -- "--gtest_filter=$filter" "$@"
fi
wine_arm64_exec wine "$program" "$@"
