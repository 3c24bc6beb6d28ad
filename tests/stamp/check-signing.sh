#!/usr/bin/env bash
# Code signing of a stamped launcher with the real tools: a self-signed code-signing certificate
# made for this run with openssl, osslsigncode to sign and verify. The signed launcher still
# starts alone in its folder with its embedded settings (the end-to-end test, run twice under
# Wine: once to stamp and keep the copy, once on the signed copy); qova-stamp refuses to stamp
# it and leaves it as it was, and with --remove-signature stamps it unsigned, ready to sign again.
# Usage: tests/stamp/check-signing.sh BUILD-DIR [arm64], with the Wine prefix and display of
# scripts/test.sh (or of scripts/wine-env.sh); with arm64, the ARM64 tree's launcher, tool and
# tests in the ARM64 Wine that scripts/test.sh starts for it.
set -euo pipefail
build=$(cd "$1" && pwd)
bin="$build/bin"
for tool in openssl osslsigncode; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)"; exit 1; }
done
if [ "${2:-}" = arm64 ]; then
    source "$(dirname "$0")/../../scripts/wine-env.sh"
    [ -n "${QOVA_ARM64_NAMESPACE_PID:-}" ] || { echo "no ARM64 Wine: run through scripts/test.sh"; exit 2; }
    wine() { wine_arm64_exec wine "$@"; }
    winepath() { wine_arm64_exec winepath "$@"; }
else
    command -v winepath >/dev/null || { echo "winepath is missing (scripts/setup.sh installs Wine)"; exit 1; }
    [ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] ||
        { echo "no Wine prefix or display: run through scripts/test.sh"; exit 2; }
fi
work=$(mktemp -d -p "$build" signing.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
windows() { winepath -w "$1" 2>/dev/null; }

# The key lives in the build folder for this run only; a real certificate comes from a CA.
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Qova signing test" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1
sign() {
    rm -f "$2"
    osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -h sha256 \
        -n "Qova signing test" -in "$1" -out "$2" >"$work/sign.log" 2>&1 ||
        { cat "$work/sign.log"; return 1; }
}
verifies() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >"$work/verify.log" 2>&1; }
stamp() { wine "$bin/qova-stamp.exe" "$@" </dev/null; }
e2e() { wine "$bin/e2e_tests.exe" --gtest_filter="SelfContainedLaunch.$1" </dev/null 2>&1; }

# 1. Stamped (icon, version, settings of every section) and launched with no settings file.
if ! QOVA_KEEP_STAMPED_LAUNCHER=$(windows "$work/stamped.exe") e2e StampedLauncherNeedsNothingBesideIt \
    >"$work/e2e.log" || [ ! -f "$work/stamped.exe" ]; then
    cat "$work/e2e.log"; echo "FAIL: the stamped launcher did not launch alone"; exit 1
fi

# 2. Signed and verified; it launches as before.
sign "$work/stamped.exe" "$work/signed.exe" || { echo "FAIL: osslsigncode could not sign"; exit 1; }
verifies "$work/signed.exe" || { cat "$work/verify.log"; fail "the signed launcher does not verify"; }
stamp --show "$(windows "$work/signed.exe")" >"$work/show.log" 2>&1 || true
grep -q "Signature: signed" "$work/show.log" || { cat "$work/show.log"; fail "--show does not say the launcher is signed"; }
QOVA_SIGNED_LAUNCHER=$(windows "$work/signed.exe") e2e SignedCopyStartsTheSame >"$work/e2e.log" || true
grep -q "\[  PASSED  \] 1 test" "$work/e2e.log" ||
    { cat "$work/e2e.log"; fail "the signed launcher did not launch as the stamped one did"; }

# 3. Stamping it is refused and leaves every byte as it was, with --out too.
cp "$work/signed.exe" "$work/target.exe"
code=0
stamp --product-name Other "$(windows "$work/target.exe")" >"$work/out.log" 2>&1 || code=$?
[ "$code" -eq 1 ] || fail "stamping a signed launcher ended with $code, not 1"
grep -q "carries a code signature" "$work/out.log" || { cat "$work/out.log"; fail "no refusal message"; }
cmp -s "$work/target.exe" "$work/signed.exe" || fail "the refused stamping changed the launcher"
code=0
stamp --out "$(windows "$work/copy.exe")" --product-name Other "$(windows "$work/target.exe")" \
    >/dev/null 2>&1 || code=$?
[ "$code" -eq 1 ] && [ ! -e "$work/copy.exe" ] || fail "stamping a signed launcher with --out wrote a copy"

# 4. With --remove-signature it is stamped, unsigned, and signs again cleanly.
stamp --remove-signature --product-name Other "$(windows "$work/target.exe")" >"$work/out.log" 2>&1 ||
    { cat "$work/out.log"; fail "--remove-signature did not stamp"; }
grep -q "signature removed" "$work/out.log" || fail "the stamping did not say the signature went"
stamp --show "$(windows "$work/target.exe")" >"$work/show.log" 2>&1
grep -q "Signature: none" "$work/show.log" || { cat "$work/show.log"; fail "--show still finds a signature"; }
grep -q "ProductName: Other" "$work/show.log" || fail "the version was not stamped"
grep -q "matches the contents" "$work/show.log" || fail "the checksum was not recomputed"
verifies "$work/target.exe" && fail "osslsigncode still verifies the launcher whose signature went"
sign "$work/target.exe" "$work/resigned.exe" || fail "the unsigned launcher does not sign again"
verifies "$work/resigned.exe" || { cat "$work/verify.log"; fail "the launcher signed again does not verify"; }

[ $status -eq 0 ] && echo "ok: signed, verified, launched; stamping refused, then stamped unsigned and signed again"
exit $status
