#!/usr/bin/env bash
# The HotSpot tier: the launcher's conversation with the VM (tests/common/VmCases.h) against
# HotSpot 17 and, where the machine has it, 25. Compiles the Java side with the 17 JDK's javac,
# lays the application out (lib/app.jar, the module appmod in mods, JavaFX in lib/javafx),
# starts a private Xvfb for the JavaFX case, runs build/native's hotspot_tier, and stops the
# display it started. Fails when HotSpot 17 or JavaFX is missing.
# Usage: tests/hotspot/run.sh NATIVE-BUILD-FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
tier="$build/bin/hotspot_tier"
data="$build/hotspot"
jdk17=/usr/lib/jvm/java-17-openjdk-amd64
jdk25=/usr/lib/jvm/temurin-25-jdk-amd64
# Debian's JavaFX 11: its jars, and its native libraries in the folder of JNI libraries.
javafx_jars=/usr/share/java
javafx_natives=/usr/lib/x86_64-linux-gnu/jni

for needed in "$jdk17/lib/server/libjvm.so" "$jdk17/bin/javac" "$javafx_jars/javafx-controls-11.jar" \
    "$javafx_natives/libglass.so" "$tier"; do
    if [ ! -e "$needed" ]; then
        echo "FAILED: the HotSpot tier needs $needed (scripts/setup.sh --tests installs HotSpot 17 and JavaFX)" >&2
        exit 1
    fi
done
if [ ! -e "$jdk25/lib/server/libjvm.so" ]; then
    echo "SKIPPED: the HotSpot 25 cases: no runtime in $jdk25"
    jdk25=
fi

# The Java side, for Java 11 on: both runtimes run the same classes.
rm -rf "$data"
mkdir -p "$data/classes" "$data/module" "$data/lib/javafx" "$data/mods"
for module in base graphics controls; do
    ln -s "$javafx_jars/javafx-$module-11.jar" "$data/lib/javafx/javafx-$module.jar"
done
"$jdk17/bin/javac" --release 11 -d "$data/classes" --module-path "$data/lib/javafx" \
    --add-modules javafx.graphics "$here"/java/app/*.java
"$jdk17/bin/jar" --create --file "$data/lib/app.jar" --main-class app.Main -C "$data/classes" .
"$jdk17/bin/javac" --release 11 -d "$data/module" $(find "$here/module/appmod" -name '*.java')
"$jdk17/bin/jar" --create --file "$data/mods/appmod.jar" --main-class appmod.Main -C "$data/module" .

# A display of its own for JavaFX, stopped by its pid.
display=
xvfb_pid=
for number in $(seq 150 199); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$number" ] && break
        sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null; then
        display=":$number"
        break
    fi
done
trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true' EXIT
[ -n "$display" ] || { echo "FAILED: no Xvfb display for the JavaFX case" >&2; exit 1; }

started=$SECONDS
status=0
DISPLAY="$display" QOVA_HOTSPOT_17="$jdk17" QOVA_HOTSPOT_25="$jdk25" \
    QOVA_HOTSPOT_LIBRARY_PATH="$javafx_natives" "$tier" "$data" || status=$?
echo "The HotSpot tier took $((SECONDS - started)) s"
exit $status
