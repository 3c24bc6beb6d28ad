#!/usr/bin/env python3
"""Writes the jars of the executable-jar tests (JarLaunchTest) into the folder given: real zip
archives whose manifests are deflated, as the jar tool writes them."""

import os
import sys
import zipfile

MANIFEST = (
    "Manifest-Version: 1.0\r\n"
    "Created-By: make-jars.py\r\n"
    "Main-Class: com.example.App\r\n"
    # One item per line, the second continued as a 72-byte writer breaks a long line.
    "Add-Opens: java.base/java.lang java.desktop/sun.a\r\n"
    " wt\r\n"
    "Class-Path: lib/base.jar\r\n"
    "\r\n"
    "Name: com/example/App.class\r\n"
    "Main-Class: com.example.NotThisOne\r\n"
    "\r\n"
)


def write_jar(path, manifest):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as jar:
        # A fixed date: the same bytes on every build.
        for name, data in (("META-INF/MANIFEST.MF", manifest),
                           ("com/example/App.class", "\xca\xfe\xba\xbe")):
            jar.writestr(zipfile.ZipInfo(name, (2020, 1, 1, 0, 0, 0)), data.encode("latin-1"),
                         compress_type=zipfile.ZIP_DEFLATED)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    executable = os.path.join(folder, "executable.jar")
    write_jar(executable, MANIFEST)
    with open(executable, "rb") as jar:
        whole = jar.read()
    write_jar(os.path.join(folder, "no-main-class.jar"),
              MANIFEST.replace("Main-Class: com.example.App\r\n", "", 1))
    with zipfile.ZipFile(os.path.join(folder, "no-manifest.jar"), "w") as jar:
        jar.writestr(zipfile.ZipInfo("com/example/App.class", (2020, 1, 1, 0, 0, 0)), b"\xca\xfe",
                     compress_type=zipfile.ZIP_DEFLATED)
    # Cut inside the central directory: the end record is gone.
    with open(os.path.join(folder, "truncated.jar"), "wb") as jar:
        jar.write(whole[: len(whole) - 30])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
