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


def write_jar(path, manifest, padding=0):
    """The manifest and a class, deflated; then `padding` empty entries, stored."""
    # A fixed date: the same bytes on every build.
    entries = [("META-INF/MANIFEST.MF", manifest.encode("latin-1"), zipfile.ZIP_DEFLATED),
               ("com/example/App.class", b"\xca\xfe\xba\xbe", zipfile.ZIP_DEFLATED)]
    entries += [("com/example/lib/R%05d.class" % index, b"", zipfile.ZIP_STORED)
                for index in range(padding)]
    with zipfile.ZipFile(path, "w") as jar:
        for name, data, method in entries:
            jar.writestr(zipfile.ZipInfo(name, (2020, 1, 1, 0, 0, 0)), data, compress_type=method)


# Past 65,535 entries, as fat jars are: zipfile then writes the ZIP64 end record and its
# locator, as the jar tool and zip do.
FAT_ENTRIES = 70000

# What a jar built for Java 8 and for today's Java carries: options that only some runtimes'
# java commands take.
NEWER_JAVA_MANIFEST = (
    "Manifest-Version: 1.0\r\n"
    "Main-Class: com.example.App\r\n"
    "Add-Opens: java.base/java.lang\r\n"
    "Enable-Native-Access: ALL-UNNAMED\r\n"
    "\r\n"
)


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
    write_jar(os.path.join(folder, "fat.jar"), MANIFEST, FAT_ENTRIES)
    write_jar(os.path.join(folder, "newer-java.jar"), NEWER_JAVA_MANIFEST)
    # Cut inside the central directory: the end record is gone.
    with open(os.path.join(folder, "truncated.jar"), "wb") as jar:
        jar.write(whole[: len(whole) - 30])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
