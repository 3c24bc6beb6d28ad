#!/usr/bin/env bash
# The stamping tool built for the build machine (Linux) against qova-stamp.exe under Wine: each
# option group, every option at once, the 32-bit and ARM64 launchers, a signed launcher with
# --remove-signature, and a stamped copy stamped again, on the built launchers. Both must write
# the same bytes. The natively stamped launcher is then read back by tools that share no code
# with ours: MinGW's objdump (headers, sizes, subsystem) and windres (every resource),
# osslsigncode (signs and verifies it), and qova-stamp.exe --show under Wine; and a launcher
# stamped and signed here without Wine starts under Wine as the end-to-end test's own does.
# Usage: tests/stamp/check-native-stamp.sh NATIVE-QOVA-STAMP BUILD-DIR, with the Wine prefix and
# display of scripts/test.sh (or of scripts/wine-env.sh).
set -euo pipefail
[ -x "$1" ] || { echo "no native qova-stamp at $1: build the native tree first (cmake --build build/native --target qova-stamp)"; exit 1; }
native=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
build=$(cd "$2" && pwd)
bin="$build/bin"
objdump=x86_64-w64-mingw32-objdump
windres=x86_64-w64-mingw32-windres
for tool in $objdump $windres openssl osslsigncode python3 winepath; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] ||
    { echo "no Wine prefix or display: run through scripts/test.sh"; exit 2; }
work=$(mktemp -d -p "$build" native-stamp.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
status=0
fail() { echo "FAIL: $*"; status=1; }

cp "$bin/launcher.exe" launcher.exe
# Icons of three and of one image (32-bit bitmaps), settings in UTF-8 and in UTF-16.
python3 - <<'ICONS'
import struct
def bitmap(size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + bytes([size, 0x40, 0xC0, 0xFF]) * size * size + b"\0" * ((size + 31) // 32 * 4 * size)
def icon(sizes):
    images = [bitmap(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)
open("three.ico", "wb").write(icon([16, 32, 48]))
open("one.ico", "wb").write(icon([24]))
open("first.ini", "wb").write("; Viewer\n[Java Runtime Environment]\nMain Class=com.example.App\n[Application]\nCmd=caf\u00e9\n".encode())
open("second.ini", "wb").write("\ufeff[Java Runtime Environment]\r\nMain Class=com.example.Other\r\n".encode("utf-16-le"))
ICONS
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Qova native stamp test" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout key.pem -out cert.pem >/dev/null 2>&1
sign() {
    rm -f "$2"
    osslsigncode sign -certs cert.pem -key key.pem -h sha256 -n "Qova native stamp test" \
        -in "$1" -out "$2" >sign.log 2>&1 || { cat sign.log; return 1; }
}
verifies() { osslsigncode verify -CAfile cert.pem -in "$1" >verify.log 2>&1; }
windows_stamp() { wine "$bin/qova-stamp.exe" "$@" </dev/null; }

# NAME INPUT OPTIONS...: INPUT stamped by both tools into NAME-linux.exe and NAME-windows.exe.
both() {
    local name=$1 input=$2
    shift 2
    "$native" "$@" --out "$name-linux.exe" "$input" >"$name-linux.log" 2>&1 ||
        { cat "$name-linux.log"; fail "$name: the native tool failed"; return; }
    windows_stamp "$@" --out "$name-windows.exe" "$input" >"$name-windows.log" 2>&1 ||
        { cat "$name-windows.log"; fail "$name: qova-stamp.exe failed"; return; }
    cmp "$name-linux.exe" "$name-windows.exe" || fail "$name: the two tools wrote different bytes"
    cmp -s "$name-linux.exe" "$input" && fail "$name: nothing was stamped"
    # The same report, but for the line ends of each system.
    tr -d '\r' <"$name-windows.log" | sed 's/-windows\.exe/-linux.exe/' | cmp -s - "$name-linux.log" ||
        fail "$name: the two tools reported differently"
}
version=(--product-name "Viewer Pro" --file-version 2.1.0.15 --product-version 2.1
         --company "Acme Éditions" --description Viewer --copyright "(c) 2024 Acme"
         --original-filename viewer.exe)
both icon launcher.exe --icon three.ico
both settings launcher.exe --settings first.ini
both manifest launcher.exe --execution-level requireAdministrator --code-page utf-8
both version launcher.exe "${version[@]}"
both subsystem launcher.exe --subsystem console
both all launcher.exe --icon three.ico --settings first.ini --execution-level highestAvailable \
    --code-page utf-8 --subsystem console "${version[@]}"
# The 32-bit launcher, which the paired build makes beside the 64-bit one.
if [ -f "$build/win32/bin/launcher.exe" ]; then
    cp "$build/win32/bin/launcher.exe" launcher32.exe
    both launcher32 launcher32.exe --icon three.ico --settings first.ini --subsystem console "${version[@]}"
else
    fail "no 32-bit launcher in $build/win32 to stamp"
fi
# The ARM64 launcher, where the build makes one: the same tool, every option.
if [ -f "$build/arm64/bin/launcher.exe" ]; then
    cp "$build/arm64/bin/launcher.exe" launcher-arm64.exe
    both arm64 launcher-arm64.exe --icon three.ico --settings first.ini --execution-level highestAvailable \
        --code-page utf-8 --subsystem console "${version[@]}"
    grep -q "Launcher: arm64 (64-bit)" <("$native" --show arm64-linux.exe) ||
        fail "--show does not name the ARM64 launcher"
elif [ "${QOVA_ARM64:-1}" != 0 ] && [ -d "$build/arm64" ]; then
    fail "no ARM64 launcher in $build/arm64 to stamp"
fi
sign launcher.exe signed.exe || fail "osslsigncode could not sign the launcher"
both unsigned signed.exe --remove-signature --settings first.ini

# Stamped again with other values for everything the first stamping set: the same bytes as one
# stamping with the final values, so nothing grows and nothing of the first stamping is left.
both again all-linux.exe --icon one.ico --settings second.ini --execution-level asInvoker \
    --code-page system --subsystem windows --product-name Viewer --file-version= \
    --product-version= --company= --description= --copyright= --original-filename=
both once launcher.exe --icon one.ico --settings second.ini --product-name Viewer
cmp again-linux.exe once-linux.exe || fail "stamping a stamped copy again differs from stamping once"

# Read back by tools of their own.
headers=$($objdump -p all-linux.exe) || fail "objdump cannot read the stamped launcher"
grep -q "Subsystem.*(Windows CUI)" <<<"$headers" || fail "objdump does not see the console subsystem"
rsrc=$($objdump -h all-linux.exe | awk '$2 == ".rsrc" {print $3}')
grep -qi "Entry 2 .* $rsrc Resource Directory \[.rsrc\]" <<<"$headers" ||
    fail "the resource directory's size is not the section's ($rsrc)"
grep -q "Base Relocation Directory \[.reloc\]" <<<"$headers" || fail "objdump finds no relocations"
$windres -J coff -i all-linux.exe -O rc -o all.rc 2>windres.log || { cat windres.log; fail "windres cannot read the resources"; }
for text in 'VALUE "ProductName", "Viewer Pro"' 'VALUE "FileVersion", "2.1.0.15"' \
    'FILEVERSION 2, 1, 0, 15' '"QOVA_SETTINGS"' '"QOVA_LAUNCHER"' 'RT_GROUP_ICON' 'STRINGTABLE' 'DIALOGEX' \
    'RT_MANIFEST'; do
    grep -qF "$text" all.rc || fail "windres does not find $text"
done
[ "$(grep -c 'RT_ICON' all.rc)" -eq 3 ] || fail "windres does not find the three icon images alone"
show=$(windows_stamp --show all-linux.exe 2>&1) || fail "qova-stamp.exe --show failed: $show"
for text in "Subsystem: console" "matches the contents" "Icon: group 101, 3 images" \
    "Version: file 2.1.0.15, product 2.1.0.0" "Execution level: highestAvailable" "Code page: UTF-8" \
    "Main Class=com.example.App"; do
    grep -qF "$text" <<<"$show" || fail "qova-stamp.exe --show does not say $text"
done
sign all-linux.exe all-signed.exe || fail "osslsigncode cannot sign the natively stamped launcher"
verifies all-signed.exe || { cat verify.log; fail "the natively stamped and signed launcher does not verify"; }

# A signed launcher is refused and left as it was.
cp signed.exe refused.exe
code=0
"$native" --product-name Other refused.exe >refused.log 2>&1 || code=$?
[ "$code" -eq 1 ] && grep -q "carries a code signature" refused.log || { cat refused.log; fail "the native tool did not refuse a signed launcher"; }
cmp -s refused.exe signed.exe || fail "the refused stamping changed the signed launcher"

# Stamped and signed without Wine, it starts with its embedded settings, icon and version: the
# same inputs as the end-to-end test's stamping (its settings read back from its copy), the same
# bytes, and the signed copy launched by the end-to-end test.
e2e() { wine "$bin/e2e_tests.exe" --gtest_filter="SelfContainedLaunch.$1" </dev/null 2>&1; }
QOVA_KEEP_STAMPED_LAUNCHER=$(winepath -w "$work/e2e-windows.exe") e2e StampedLauncherNeedsNothingBesideIt \
    >e2e.log || { cat e2e.log; fail "the end-to-end test's stamped launcher did not launch"; }
windows_stamp --show e2e-windows.exe 2>&1 | tr -d '\r' |
    sed -n '/^  Settings:$/,$ { /^    /s/^    //p }' >e2e-settings.ini
"$native" --settings e2e-settings.ini --icon "$bin/e2e-data/app.ico" --product-name Viewer \
    --file-version 2.1.0.7 --out e2e-linux.exe launcher.exe >/dev/null || fail "the native tool did not stamp the end-to-end launcher"
cmp e2e-linux.exe e2e-windows.exe || fail "the native stamping differs from the end-to-end test's"
sign e2e-linux.exe e2e-signed.exe && verifies e2e-signed.exe || fail "the natively stamped launcher does not sign and verify"
QOVA_SIGNED_LAUNCHER=$(winepath -w "$work/e2e-signed.exe") e2e SignedCopyStartsTheSame >e2e.log || true
grep -q "\[  PASSED  \] 1 test" e2e.log || { cat e2e.log; fail "the launcher stamped and signed without Wine did not start"; }

[ $status -eq 0 ] && echo "ok: both tools wrote the same bytes for every case; objdump, windres, osslsigncode and --show read the result; stamped and signed without Wine, it launched"
exit $status
