#!/usr/bin/env bash
# Runs the release script on an existing MinSizeRel Windows build and checks the archive: its
# name, its folder, and that it holds the built launchers and tools (the Linux qova-stamp static,
# so that it runs on any x86_64 Linux), the sample settings file and the user documentation with
# every picture its pages show; and that the archive's tool stamps each of its launchers.
# Usage: tests/check-release.sh BUILD-DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
version="0.0.0-check.$$"
archive="$root/build/qova-launcher-$version.zip"
work=$(mktemp -d)
# The stamped copies go beside the archive's folder, not into it.
scratch=$(mktemp -d)
trap 'rm -rf "$work" "$scratch" "$archive"' EXIT

if "$root/scripts/release.sh" --build-dir "$build" "1.0 beta" >/dev/null 2>&1; then
    echo "a version with a blank was accepted"; exit 1
fi
printed=$("$root/scripts/release.sh" --build-dir "$build" "$version" | tail -n 1)
[ "$printed" = "$archive" ] || { echo "printed '$printed', expected '$archive'"; exit 1; }
[ -f "$archive" ] || { echo "no archive $archive"; exit 1; }

(cd "$work" && cmake -E tar xf "$archive")
folder="$work/qova-launcher-$version"
status=0
for file in launcher.exe qova-stamp.exe; do
    cmp -s "$folder/$file" "$build/bin/$file" || { echo "$file differs from the build's or is missing"; status=1; }
done
cmp -s "$folder/qova-stamp" "$build/linux/bin/qova-stamp" || { echo "qova-stamp (Linux) differs from the build's or is missing"; status=1; }
if [ -f "$folder/qova-stamp" ]; then
    readelf -h "$folder/qova-stamp" | grep -q "Machine:.*X86-64" || { echo "qova-stamp is not an x86_64 program"; status=1; }
    # Static: no shared library to look for, not even the C library of some version.
    ! readelf -d "$folder/qova-stamp" 2>/dev/null | grep -q NEEDED || { echo "qova-stamp needs shared libraries: $(readelf -d "$folder/qova-stamp" | grep NEEDED)"; status=1; }
    [ -x "$folder/qova-stamp" ] && "$folder/qova-stamp" --help >/dev/null || { echo "qova-stamp does not run"; status=1; }
fi
cmp -s "$folder/launcher32.exe" "$build/win32/bin/launcher.exe" || { echo "launcher32.exe differs from the 32-bit build's or is missing"; status=1; }
if [ "${QOVA_ARM64:-1}" != 0 ]; then
    cmp -s "$folder/launcher-arm64.exe" "$build/arm64/bin/launcher.exe" || { echo "launcher-arm64.exe differs from the ARM64 build's or is missing"; status=1; }
fi
# Each launcher of the archive takes a stamping by the archive's own tool, and says which it is.
for launcher in launcher.exe:x64 launcher32.exe:x86 launcher-arm64.exe:arm64; do
    file=${launcher%%:*} build_name=${launcher#*:}
    [ -f "$folder/$file" ] || continue
    "$folder/qova-stamp" --settings "$folder/sample.ini" --subsystem console --product-name Check \
        --out "$scratch/stamped-$file" "$folder/$file" >"$scratch/stamp.log" 2>&1 ||
        { cat "$scratch/stamp.log"; echo "the archive's qova-stamp does not stamp $file"; status=1; continue; }
    "$folder/qova-stamp" --show "$scratch/stamped-$file" | grep -q "Launcher: $build_name (" ||
        { echo "--show does not name $file an $build_name launcher"; status=1; }
done
pdbs=$(cd "$folder" && find . -iname '*.pdb')
[ -z "$pdbs" ] || { echo "the archive holds debugger files: $pdbs"; status=1; }
cmp -s "$folder/sample.ini" "$root/packaging/sample.ini" || { echo "sample.ini missing or different"; status=1; }
cmp -s "$folder/explain.py" "$root/scripts/explain.py" || { echo "explain.py missing or different"; status=1; }
# Every file of docs/ as it is in the tree, and every picture a page of the archive links to.
pages=0
while IFS= read -r -d '' file; do
    relative=${file#"$root/"}
    cmp -s "$file" "$folder/$relative" || { echo "$relative missing from the archive or different"; status=1; }
done < <(find "$root/docs" -type f -print0)
for page in "$folder"/docs/*.md; do
    [ -f "$page" ] || continue
    pages=$((pages + 1))
    for image in $(grep -o '](images/[^)]*)' "$page" | sed 's/^](//; s/)$//'); do
        [ -f "$folder/docs/$image" ] || { echo "docs/$(basename "$page") shows $image, which the archive lacks"; status=1; }
    done
done
[ $pages -ge 3 ] || { echo "the archive holds $pages pages of documentation"; status=1; }
extra=$(cd "$work" && find . -mindepth 1 -maxdepth 1 ! -name "qova-launcher-$version")
[ -z "$extra" ] || { echo "the archive holds more than one folder: $extra"; status=1; }
[ $status -eq 0 ] && echo "ok: $(cd "$work" && find . -type f | sort | tr '\n' ' ')"
exit $status
