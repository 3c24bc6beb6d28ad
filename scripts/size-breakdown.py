#!/usr/bin/env python3
"""Where the launcher's bytes go.

Usage: size-breakdown.py LAUNCHER-EXE SYMBOLS-EXE MAP-FILE [TOP]

LAUNCHER-EXE is the stripped launcher the build ships, SYMBOLS-EXE the same link before it was
stripped (the build keeps it beside the map file), MAP-FILE the linker's map of that link. Prints
the bytes of each section of the file, the bytes by origin (the launcher's own code, which
link-time optimisation compiles as one object, and each library's archive members), and the
functions of the code section by size, with the C++ library's templates and the C runtime's
start-up code apart from the launcher's own functions. The binutils of the exe's target are
found by the prefix in the environment variable TOOL_PREFIX (default x86_64-w64-mingw32-).
"""
import os
import re
import subprocess
import sys
from collections import defaultdict

TOOL_PREFIX = os.environ.get("TOOL_PREFIX", "x86_64-w64-mingw32-")


def tool(name, *arguments):
    return subprocess.run([TOOL_PREFIX + name, *arguments], check=True, capture_output=True,
                          text=True).stdout


def sections(exe):
    """(name, bytes of content, file offset) of each section, from the section table."""
    rows = []
    for line in tool("objdump", "-h", exe).splitlines():
        match = re.match(r"^\s*\d+\s+(\S+)\s+([0-9a-f]+)\s+([0-9a-f]+)\s+[0-9a-f]+\s+([0-9a-f]+)",
                         line)
        if match:
            rows.append((match.group(1), int(match.group(2), 16), int(match.group(3), 16),
                         int(match.group(4), 16)))
    return rows


def short_object(path):
    """An archive member as "libstdc++.a(string-inst.o)"; the link-time optimised code as one."""
    path = path.strip()
    if ".ltrans" in path:
        return "launcher code (link-time optimised)"
    match = re.search(r"([^/]+\.a)\(([^)]+)\)$", path)
    if match:
        return f"{match.group(1)}({match.group(2)})"
    return path.rsplit("/", 1)[-1]


def origins(map_path):
    """Bytes of each input object in the sections that reach the file, from the map."""
    kept = (".text", ".data", ".rdata", ".pdata", ".xdata", ".CRT", ".tls")
    by_object = defaultdict(int)
    output = None
    pending = False
    started = False
    with open(map_path, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            if line.startswith("Linker script and memory map"):
                started = True
                continue
            if not started:
                continue
            head = re.match(r"^(\.\S+)", line)
            if head:
                output = head.group(1) if head.group(1) in kept else None
                continue
            if output is None:
                continue
            # An input section line: " .name 0xADDRESS 0xSIZE object", or the name alone on its
            # line when it is long, followed by the address, size and object on the next one.
            single = re.match(r"^ (\S+)\s*$", line)
            if single:
                pending = True
                continue
            entry = re.match(r"^ (?:(\S+))?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$", line)
            if entry and (entry.group(1) or pending):
                by_object[short_object(entry.group(4))] += int(entry.group(3), 16)
            pending = False
    return by_object


def group_of(obj):
    if obj.startswith("launcher code"):
        return obj
    match = re.match(r"^([^()]+\.a)\(", obj)
    if match:
        return match.group(1)
    if obj.startswith("crt") or obj == "dll stuff":
        return "C runtime start-up objects"
    return obj


def functions(symbols_exe, text_start, text_end):
    """(bytes, name) of each function in the code section: from one symbol to the next."""
    starts = defaultdict(list)
    for line in tool("nm", "-n", "-C", symbols_exe).splitlines():
        match = re.match(r"^([0-9a-f]+) ([tT]) (.+)$", line)
        if not match:
            continue
        address = int(match.group(1), 16)
        if text_start <= address < text_end:
            starts[address].append(match.group(3))
    addresses = sorted(starts) + [text_end]
    result = []
    for address, following in zip(addresses, addresses[1:]):
        names = [n for n in starts[address] if not n.startswith(".")] or starts[address]
        result.append((following - address, names[0]))
    return result


STARTUP = re.compile(r"(mingw|__tmainCRTStartup|CRTStartup|pre_c_init|pre_cpp_init|_pei386|"
                     r"_FindPESection|_IsNonwritable|_ValidateImageBase|_GetPEImageBase|matherr|"
                     r"_gnu_exception_handler|__dyn_tls|__do_global|__main|atexit|_fpreset|"
                     r"chkstk|__gcc_(de)?register_frame|_onexit|__security|tls)")


def kind_of(name):
    if name.startswith("std::") or name.startswith("__gnu_cxx::"):
        return "C++ library templates"
    if STARTUP.search(name):
        return "C runtime start-up"
    if name.startswith("."):
        return "unnamed code"
    return "launcher functions"


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    exe, symbols_exe, map_path = sys.argv[1:4]
    top = int(sys.argv[4]) if len(sys.argv) > 4 else 30

    table = sections(exe)
    file_size = os.path.getsize(exe)
    print(f"-- {os.path.basename(exe)}: {file_size} bytes, stripped")
    print("   bytes  section (content; the file pads each section to 512 bytes)")
    in_sections = 0
    for name, size, _, offset in table:
        print(f"{size:>8}  {name}{'  (takes no room in the file)' if offset == 0 else ''}")
        if offset:
            in_sections += size
    print(f"{file_size - in_sections:>8}  headers and padding")

    print("\n-- bytes by origin (code, data, unwind tables and start-up lists)")
    groups = defaultdict(int)
    by_object = origins(map_path)
    for obj, size in by_object.items():
        groups[group_of(obj)] += size
    for name, size in sorted(groups.items(), key=lambda item: -item[1]):
        if size:
            print(f"{size:>8}  {name}")
    print(f"\n-- top {top // 2} library members")
    members = [(s, o) for o, s in by_object.items() if ".a(" in o]
    for size, obj in sorted(members, reverse=True)[:top // 2]:
        print(f"{size:>8}  {obj}")

    text = next((row for row in table if row[0] == ".text"), None)
    if text is None:
        return
    listed = functions(symbols_exe, text[2], text[2] + text[1])
    kinds = defaultdict(lambda: [0, 0])
    for size, name in listed:
        kinds[kind_of(name)][0] += size
        kinds[kind_of(name)][1] += 1
    print("\n-- code section by kind of function")
    for name, (size, count) in sorted(kinds.items(), key=lambda item: -item[1][0]):
        print(f"{size:>8}  {name} ({count})")
    print(f"\n-- top {top} functions by code bytes")
    for size, name in sorted(listed, reverse=True)[:top]:
        print(f"{size:>8}  {name if len(name) <= 110 else name[:107] + '...'}")


if __name__ == "__main__":
    main()
