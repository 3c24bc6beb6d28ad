#!/usr/bin/env python3
"""The jar corpus: the launcher's zip, inflate and manifest readers (jar_corpus_reader) against
java.util.jar.JarFile (JarAttributes.java, run by the JDK), jar by jar, over the jars of the
Debian packages in debian-packages.txt and over jars made here with the JDK's jar tool and zip.

Usage: check-corpus.py READER [JAVA_HOME]. Every difference must be listed, with its reason, in
known-differences.txt. Skips (exit 77) when the JDK or zip is missing; fails when fewer than 300
real jars are installed, as scripts/setup.sh --tests installs them."""

import fnmatch
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SKIPPED = 77
MINIMUM_REAL_JARS = 300
BIG_ENTRIES = 70000


def debian_jars():
    """Every jar file the listed packages installed, each file once."""
    packages = [line.strip() for line in open(os.path.join(HERE, "debian-packages.txt"))
                if line.strip() and not line.startswith("#")]
    listing = subprocess.run(["dpkg", "-L"] + packages, capture_output=True, text=True).stdout
    jars = set()
    for path in listing.splitlines():
        if path.endswith(".jar") and os.path.isfile(path) and not os.path.islink(path):
            jars.add(os.path.realpath(path))
    return sorted(jars)


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def run(command, cwd=None, stdin=None):
    subprocess.run(command, cwd=cwd, input=stdin, check=True, stdout=subprocess.DEVNULL)


# Manifests written by hand and zipped as they are (the jar tool would rewrite them): what the
# manifest reader must take exactly as Java does.
RAW_MANIFESTS = {
    "continued": b"Manifest-Version: 1.0\r\nMain-Class: com.exa\r\n mple.Main\r\nAdd-Opens: java.base"
                 b"/java.lang java.desktop/sun.a\r\n wt\r\nLauncher-Agent-Class: a.Agent\r\n"
                 b"SplashScreen-Image: images/splash.png\r\n\r\n",
    "lf-only": b"Manifest-Version: 1.0\nMain-Class: a.B\nEnable-Native-Access: ALL-UNNAMED\n",
    "cr-only": b"Manifest-Version: 1.0\rMain-Class: a.B\rAdd-Exports: java.base/sun.nio.ch\r",
    "utf8": "Manifest-Version: 1.0\r\nMain-Class: caf\u00e9.\u4e2d\u6587.\U0001F600\r\n\r\n".encode(),
    "malformed-utf8": b"Main-Class: a\xf8\x80\x80b\xc0\xafc\xe0\x80\xafd\xed\xa0\x80e\xf4\x90\x80\x80"
                      b"f\xe2\x82g\xc3\r\n",
    "split-utf8": b"Main-Class: Caf\xc3\r\n \xa9\r\n\r\n",
    "no-final-newline": b"Manifest-Version: 1.0\r\nMain-Class: a.B",
    "trailing-blanks": b"Main-Class:  a.B \t\r\nEnable-Native-Access: ALL-UNNAMED \r\n",
    "entry-section": b"Manifest-Version: 1.0\r\n\r\nName: a/B.class\r\nMain-Class: a.B\r\n",
    "long-line-511": b"Main-Class: " + b"a" * 497 + b"\r\n",
    "long-line-600": b"Main-Class: " + b"a" * 586 + b"\r\n",
    "duplicate": b"Main-Class: a.B\r\nmain-class: c.D\r\n",
    "bad-name": b"Main Class: a.B\r\n",
    "no-blank-after-colon": b"Main-Class:a.B\r\n",
    "leading-continuation": b" a.B\r\nMain-Class: a.B\r\n",
    "empty": b"",
}


def zip_file(zip_tool, jar, folder, names, options=()):
    run([zip_tool, "-q", "-X"] + list(options) + [jar] + names, cwd=folder)


def big_sparse_jar(path, manifest):
    """A ZIP64 archive whose local header, central directory and end records lie past 4 GiB,
    behind a sparse hole, as a jar appended to a large file and re-based with zip -A is."""
    start = (4 << 30) + 4096
    name = b"META-INF/MANIFEST.MF"
    crc = zlib.crc32(manifest)
    local = struct.pack("<IHHHIIIIHH", 0x04034B50, 45, 0, 0, 0, crc, len(manifest), len(manifest),
                        len(name), 0) + name + manifest
    directory_at = start + len(local)
    central = struct.pack("<IHHHHIIIIHHHHHII", 0x02014B50, 45, 45, 0, 0, 0, crc, len(manifest),
                          len(manifest), len(name), 12, 0, 0, 0, 0, 0xFFFFFFFF) + name + \
        struct.pack("<HHQ", 1, 8, start)
    record_at = directory_at + len(central)
    end = struct.pack("<IQHHIIQQQQ", 0x06064B50, 44, 45, 45, 0, 0, 1, 1, len(central), directory_at)
    end += struct.pack("<IIQI", 0x07064B50, 0, record_at, 1)
    end += struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 1, 1, len(central), 0xFFFFFFFF, 0)
    with open(path, "wb") as out:
        out.seek(start)
        out.write(local + central + end)


def made_jars(folder, jar_tool, zip_tool):
    """The jars made for the corpus, each name saying what it is made to show."""
    made = []
    classes = os.path.join(folder, "classes")
    os.makedirs(os.path.join(classes, "com", "example"))
    write(os.path.join(classes, "com", "example", "readme.txt"), b"not a class: the jar tool checks those" * 20)
    manifest = os.path.join(folder, "manifest.txt")
    write(manifest, b"Add-Opens: java.base/java.lang java.base/java.util\n"
                    b"Add-Exports: java.base/sun.nio.ch\nEnable-Native-Access: ALL-UNNAMED\n"
                    b"Launcher-Agent-Class: com.example.Agent\n"
                    b"SplashScreen-Image: com/example/splash.png\n")

    def jar(name, *options, after=()):
        path = os.path.join(folder, name)
        run([jar_tool, "--create", "--file", path, "--main-class", "com.example.Main",
             "--manifest", manifest] + list(options) + ["-C", classes, "."] + list(after))
        made.append(path)
        return path

    deflated = jar("jar-tool-deflated.jar")  # deflated entries with data descriptors
    jar("jar-tool-stored.jar", "--no-compress")
    versioned = os.path.join(folder, "v11")
    os.makedirs(os.path.join(versioned, "com", "example"))
    write(os.path.join(versioned, "com", "example", "data.txt"), b"for Java 11 and later")
    jar("jar-tool-multi-release.jar", after=("--release", "11", "-C", versioned, "."))

    # More than 65535 entries: ZIP64 end records, from the jar tool and from zip.
    many = os.path.join(folder, "many")
    os.makedirs(os.path.join(many, "META-INF"))
    for index in range(BIG_ENTRIES):
        open(os.path.join(many, "e%05d" % index), "wb").close()
    big = os.path.join(folder, "jar-tool-70000-entries.jar")
    run([jar_tool, "--create", "--file", big, "--main-class", "com.example.Main", "-C", many, "."])
    made.append(big)
    write(os.path.join(many, "META-INF", "MANIFEST.MF"),
          b"Manifest-Version: 1.0\r\nMain-Class: com.example.Big\r\n\r\n")
    zipped = os.path.join(folder, "zip-70000-entries.jar")
    names = "META-INF/MANIFEST.MF\n" + "".join("e%05d\n" % i for i in range(BIG_ENTRIES))
    run([zip_tool, "-q", "-X", zipped, "-@"], cwd=many, stdin=names.encode())
    made.append(zipped)
    shutil.rmtree(many)

    # Raw manifests, deflated and stored, and zip's own forms: data descriptors (streamed), an
    # archive comment.
    for name, text in RAW_MANIFESTS.items():
        tree = os.path.join(folder, "raw-" + name)
        os.makedirs(os.path.join(tree, "META-INF"))
        write(os.path.join(tree, "META-INF", "MANIFEST.MF"), text)
        for form, options in (("deflated", ["-9"]), ("stored", ["-0"])):
            path = os.path.join(folder, "zip-%s-%s.jar" % (name, form))
            zip_file(zip_tool, path, tree, ["META-INF/MANIFEST.MF"], options)
            made.append(path)
    # zip writing to a pipe cannot seek back: every member gets a data descriptor.
    streamed = os.path.join(folder, "zip-data-descriptor.jar")
    write(streamed, subprocess.run([zip_tool, "-q", "-X", "-", "META-INF/MANIFEST.MF"],
                                   stdout=subprocess.PIPE, check=True,
                                   cwd=os.path.join(folder, "raw-continued")).stdout)
    made.append(streamed)
    commented = os.path.join(folder, "zip-comment.jar")
    shutil.copy(deflated, commented)
    subprocess.run([zip_tool, "-q", "-z", commented], input=b"built for the corpus PK\x05\x06\n.\n",
                   check=True)
    made.append(commented)

    # A jar behind an executable: as copied (offsets from the jar's start) and re-based by zip -A
    # (offsets from the file's start).
    with open(deflated, "rb") as jar_bytes:
        jar_data = jar_bytes.read()
    with open(sys.executable, "rb") as program:
        executable = program.read(300000)
    appended = os.path.join(folder, "appended-to-exe.jar")
    write(appended, executable + jar_data)
    made.append(appended)
    rebased = os.path.join(folder, "appended-to-exe-rebased.jar")
    write(rebased, executable + jar_data)
    run([zip_tool, "-q", "-A", rebased])
    made.append(rebased)

    # Past 4 GiB, sparse: the reader takes 64-bit offsets.
    sparse = os.path.join(folder, "zip64-past-4-GiB-sparse.jar")
    big_sparse_jar(sparse, RAW_MANIFESTS["continued"])
    made.append(sparse)
    return made


# The made jars whose manifests Java refuses, as it should.
REFUSED = ["zip-bad-name-*", "zip-no-blank-after-colon-*", "zip-leading-continuation-*",
           "zip-long-line-600-*"]


def made_forms(made):
    """(path, what it lacks) for each made jar that is not of the form its name promises."""
    wrong = []
    for path in made:
        name = os.path.basename(path)
        with open(path, "rb") as jar:
            if "past-4-GiB" in name:
                jar.seek(4 << 30)
            data = jar.read()
        if ("70000" in name or "past-4-GiB" in name) and b"PK\x06\x06" not in data:
            wrong.append((path, "a ZIP64 end record"))
        local = data.find(b"PK\x03\x04")
        if name in ("zip-data-descriptor.jar", "jar-tool-deflated.jar") and \
                not struct.unpack("<H", data[local + 6:local + 8])[0] & 8:
            wrong.append((path, "a data descriptor"))
    return wrong


def blocks(output):
    """{jar path: its lines}"""
    found = {}
    current = None
    for line in output.splitlines():
        if line.startswith("jar "):
            current = line[4:]
            found[current] = []
        elif current is not None:
            found[current].append(line)
    return found


def known_differences():
    """[(jar pattern, reason)] from known-differences.txt: "PATTERN  # reason" lines."""
    known = []
    for line in open(os.path.join(HERE, "known-differences.txt"), encoding="utf-8"):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        pattern, _, reason = line.partition("#")
        known.append((pattern.strip(), reason.strip()))
    return known


def main():
    reader = sys.argv[1]
    java_home = sys.argv[2] if len(sys.argv) > 2 else "/usr/lib/jvm/java-17-openjdk-amd64"
    java = os.path.join(java_home, "bin", "java")
    jar_tool = os.path.join(java_home, "bin", "jar")
    zip_tool = shutil.which("zip")
    if not (os.access(java, os.X_OK) and os.access(jar_tool, os.X_OK) and zip_tool):
        print("SKIPPED: the jar corpus needs a JDK in %s and zip (scripts/setup.sh --tests)"
              % java_home)
        return SKIPPED
    real = debian_jars()
    with tempfile.TemporaryDirectory(prefix="jar-corpus-") as folder:
        made = made_jars(folder, jar_tool, zip_tool)
        paths = "".join(path + "\n" for path in real + made)
        reference = subprocess.run([java, os.path.join(HERE, "JarAttributes.java")], input=paths,
                                   capture_output=True, text=True, check=True).stdout
        ours = subprocess.run([reader], input=paths, capture_output=True, text=True,
                              check=True).stdout
        wrong_forms = made_forms(made)
    expected, actual = blocks(reference), blocks(ours)
    # A made jar that Java cannot read either would agree and prove nothing.
    unreadable = [path for path in made if expected.get(path, [""])[0] != "manifest" and
                  not any(fnmatch.fnmatch(os.path.basename(path), pattern) for pattern in REFUSED)]
    for path in unreadable:
        print("MADE WRONG: java.util.jar reads no manifest in " + path)
    for path, marker in wrong_forms:
        print("MADE WRONG: %s lacks %s" % (path, marker))
        unreadable.append(path)
    known = known_differences()
    unexplained = explained = 0
    for path in real + made:
        if expected.get(path) == actual.get(path):
            continue
        name = os.path.basename(path)
        reason = next((why for pattern, why in known if fnmatch.fnmatch(name, pattern)), None)
        print("%s %s\n  java.util.jar: %s\n  launcher:      %s" % (
            "ALLOWED" if reason else "DIFFERENT", path,
            " | ".join(expected.get(path, ["(nothing)"])), " | ".join(actual.get(path, ["(nothing)"]))))
        if reason:
            print("  why: " + reason)
            explained += 1
        else:
            unexplained += 1
    print("%d real jars, %d made jars: %d the same, %d known differences, %d unexplained" % (
        len(real), len(made), len(real) + len(made) - explained - unexplained, explained,
        unexplained))
    if len(real) < MINIMUM_REAL_JARS:
        print("Only %d real jars: install the packages of debian-packages.txt "
              "(scripts/setup.sh --tests)" % len(real))
        return 1
    return 1 if unexplained or unreadable else 0


if __name__ == "__main__":
    sys.exit(main())
