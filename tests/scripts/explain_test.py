#!/usr/bin/env python3
"""scripts/explain.py on traces written here line by line: the account names what each line
says, in the words a reader of the settings file knows, and a damaged trace is still read."""

import json
import os
import subprocess
import sys
import tempfile
import unittest

EXPLAIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                       "explain.py")
JRE = "Java Runtime Environment"
SUN_JRE = "Software\\JavaSoft\\Java Runtime Environment\\"


def line(pid, us, ev, **fields):
    event = {"us": us, "pid": pid, "ev": ev}
    event.update(fields)
    return json.dumps(event) + "\n"


def setting(pid, us, key, value, source, section=JRE):
    return line(pid, us, "setting", section=section, key=key, value=value, source=source)


def registered(pid, us, name, verdict, **more):
    return line(pid, us, "runtime", **{"from": "registry"}, key=SUN_JRE, kind="JRE",
                provider="Sun", name=name, version=name, verdict=verdict, **more)


def launch_that_picks_a_registered_runtime(pid=7):
    jvm = "C:\\Java\\1.5.0_22\\bin\\client\\jvm.dll"
    return [
        line(pid, 10, "start", format=1, arch="x64", exe="C:\\App\\app.exe",
             cmdline="app.exe", cwd="C:\\App"),
        line(pid, 20, "settings-file", file="C:\\App\\app.ini", **{"embedded-sections": 0}),
        setting(pid, 30, "Maximum Version", "1.5", "file"),
        setting(pid, 31, "Virtual Machine Parameters", "-Xmx64m -Dextra=1",
                "embedded+plus-section"),
        setting(pid, 32, "JVM Type", "", "default"),
        line(pid, 40, "stage", stage="settings", ok=True),
        line(pid, 50, "search", **{"from": "registry"}, view="native"),
        line(pid, 51, "family", key=SUN_JRE, kind="JRE", provider="Sun", verdict="searched"),
        registered(pid, 52, "1.6.0_45", "above-maximum"),
        registered(pid, 53, "1.5.0_22", "kept", home="C:\\Java\\1.5.0_22\\", jvm=jvm,
                   server=False, favored=True),
        line(pid, 54, "order", rank=1, version="1.5.0.22", home="C:\\Java\\1.5.0_22\\",
             favored=True, server=False),
        line(pid, 55, "pick", version="1.5.0.22", home="C:\\Java\\1.5.0_22\\"),
        line(pid, 56, "chosen", **{"from": "registry"}, jvm=jvm, paired=False),
        line(pid, 57, "stage", stage="runtime", ok=True),
        line(pid, 60, "jvm-library", path=jvm, loaded=True),
        line(pid, 70, "vm-option", index=0, text="-Djava.class.path=C:\\App\\app.jar", hook=False),
        line(pid, 71, "vm-option", index=1, text="-Xmx64m", hook=False),
        line(pid, 72, "vm-option", index=2, text="exit", hook=True),
        line(pid, 80, "vm", result=0),
        line(pid, 81, "main-arg", index=0, text="two words"),
        line(pid, 82, "main", name="com/example/App", outcome="called"),
        line(pid, 83, "main", name="com/example/App", outcome="returned"),
        line(pid, 1500, "exit", code=0, by="launcher"),
    ]


class Explained(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.folder.cleanup()

    def run_explain(self, content, *options):
        path = os.path.join(self.folder.name, "launch.trace")
        with open(path, "wb") as trace:
            trace.write(content if isinstance(content, bytes) else content.encode("utf-8"))
        done = subprocess.run([sys.executable, EXPLAIN, *options, path], capture_output=True,
                              text=True, encoding="utf-8")
        return done.returncode, done.stdout, done.stderr

    def account(self, lines, *options):
        status, out, err = self.run_explain("".join(lines), *options)
        self.assertEqual(status, 0, err)
        return out

    def test_account_of_a_registry_pick_names_each_refusal_and_what_the_vm_got(self):
        out = self.account(launch_that_picks_a_registered_runtime(), "--strict")
        expected = [
            "Launch of C:\\App\\app.exe (64-bit launcher, process 7), command line: app.exe",
            "Settings: C:\\App\\app.ini (no embedded settings); Maximum Version = 1.5 "
            "(settings file); Virtual Machine Parameters = \"-Xmx64m -Dextra=1\" (embedded "
            "settings extended by the \"+\" section); 1 more not set",
            "Runtimes considered: Sun JRE 1.5.0_22 (C:\\Java\\1.5.0_22\\bin\\client\\jvm.dll, "
            "registry) (refused: Sun JRE 1.6.0_45 above Maximum Version 1.5)",
            "Selection: order 1.5.0.22 favoured; picked 1.5.0.22, the first in order",
            "Chosen: C:\\Java\\1.5.0_22\\bin\\client\\jvm.dll (registry)",
            "VM options: -Djava.class.path=C:\\App\\app.jar; -Xmx64m; exit (hook)",
            "Main: com/example/App with 1 argument (\"two words\"); called, returned",
            "Outcome: exit code 0 after 1.5 ms",
        ]
        for text in expected:
            self.assertIn(text + "\n", out)

    def test_each_refusal_reads_as_the_setting_that_caused_it(self):
        rows = [
            ("below-minimum", "Minimum Version", "1.7",
             "Sun JRE 1.6.0_45 below Minimum Version 1.7"),
            ("kind-not-wanted", "JVM Source", "only_JDK",
             "Sun JRE 1.6.0_45 not wanted by JVM Source only_JDK"),
            ("provider-not-accepted", "VM Provider", "ibm",
             "Sun JRE 1.6.0_45 not accepted by VM Provider ibm"),
            ("no-java-home", "JVM Type", "", "Sun JRE 1.6.0_45 has no JavaHome"),
            ("no-jvm-library", "JVM Type", "server",
             "Sun JRE 1.6.0_45 in C:\\J\\ has no JVM library for JVM Type server"),
            ("other-architecture", "JVM Type", "",
             "Sun JRE 1.6.0_45 is built for the other architecture (C:\\J\\bin\\server\\jvm.dll)"),
            ("other-architecture x64", "JVM Type", "",
             "Sun JRE 1.6.0_45 is built for x64 (C:\\J\\bin\\server\\jvm.dll)"),
        ]
        for name, key, value, expected in rows:
            verdict, _, machine = name.partition(" ")
            with self.subTest(name):
                extra = {"home": "C:\\J\\"} if verdict == "no-jvm-library" else {}
                if verdict == "other-architecture":
                    extra = {"home": "C:\\J\\", "jvm": "C:\\J\\bin\\server\\jvm.dll",
                             "server": True, "favored": False}
                    if machine:
                        extra["machine"] = machine
                out = self.account([setting(1, 1, key, value, "file" if value else "default"),
                                    registered(1, 2, "1.6.0_45", verdict, **extra)], "--strict")
                self.assertIn("(refused: %s)" % expected, out)

    def test_the_private_runtime_folder_is_the_one_of_the_launcher_that_ran(self):
        for arch, folder in (("x64", "jre64"), ("x86", "jre32"), ("arm64", "jrearm64")):
            with self.subTest(arch):
                out = self.account([
                    line(1, 1, "start", format=1, arch=arch, exe="C:\\A\\a.exe", cmdline="a",
                         cwd="C:\\"),
                    line(1, 2, "runtime", **{"from": "private"}, home="C:\\A\\",
                         verdict="no-runtime-home")], "--strict")
                self.assertIn("no private runtime (no bin\\java.dll in C:\\A\\ or its %s\\)"
                              % folder, out)

    def test_a_runtime_the_user_picked_is_named_with_where_it_was_remembered(self):
        jvm = "C:\\rt\\bin\\server\\jvm.dll"
        out = self.account([
            line(1, 1, "dialog", dialog="missing-runtime", result="ok", detail="C:\\rt"),
            line(1, 2, "chosen", **{"from": "dialog"}, jvm=jvm, paired=False),
            line(1, 3, "remember", file="C:\\u\\app.ini", folder="C:\\rt\\", written=True),
            line(1, 4, "remember", file="C:\\u\\app32.ini", folder="C:\\rt\\",
                 written=False)], "--strict")
        self.assertIn("Selection: the missing-runtime dialog ended with ok on C:\\rt; remembered "
                      "C:\\rt\\ in C:\\u\\app.ini; could not remember C:\\rt\\ in "
                      "C:\\u\\app32.ini\n", out)
        self.assertIn("Chosen: %s (dialog)\n" % jvm, out)

    def test_each_window_reads_as_the_scales_it_was_shown_at_in_turn(self):
        out = self.account([
            line(1, 1, "dpi", window="splash", dpi=144, on="open"),
            line(1, 2, "dpi", window="exception", dpi=96, on="open"),
            line(1, 3, "dpi", window="exception", dpi=192, on="change"),
            line(1, 4, "dpi", window="exception", dpi=120, on="change")], "--strict")
        self.assertIn("Display scale of the splash window: 144 DPI (150%)\n", out)
        self.assertIn("Display scale of the exception window: 96 DPI (100%) -> 192 DPI (200%) "
                      "-> 120 DPI (125%)\n", out)
        status, _, err = self.run_explain(
            line(1, 1, "dpi", window="tooltip", dpi=96, on="open"), "--strict")
        self.assertNotEqual(status, 0, err)

    def test_a_failed_stage_is_the_outcome_with_its_reason(self):
        rows = [
            ([line(1, 5, "jvm-library", path="C:\\J\\jvm.dll", loaded=False, error=193)],
             "jvm-library", "C:\\J\\jvm.dll could not be loaded (error 193: not a library this "
                            "launcher's architecture can load)"),
            ([line(1, 5, "jvm-library", path="C:\\J\\jvm.dll", loaded=False,
                   missing="JNI_CreateJavaVM")],
             "jvm-library", "C:\\J\\jvm.dll lacks JNI_CreateJavaVM"),
            ([line(1, 5, "vm", result=-6)], "vm", "JNI_CreateJavaVM returned -6 (invalid "
                                                  "arguments)"),
            ([line(1, 5, "main", name="a/B", outcome="no-main-method")], "main",
             "a/B no main method"),
            ([line(1, 5, "vm-option-refused", text="--add-opens", fault="missing-value")],
             "options", "--add-opens in Virtual Machine Parameters has no value"),
        ]
        for events, stage, reason in rows:
            with self.subTest(stage):
                out = self.account(events + [line(1, 6, "stage", stage=stage, ok=False),
                                             line(1, 2000, "exit", code=4294967295,
                                                  by="launcher")], "--strict")
                self.assertIn("Outcome: exit code 4294967295 after 2.0 ms (the %s stage failed: "
                              "%s)\n" % (stage, reason), out)

    def test_an_abort_while_the_vm_is_created_reads_with_the_launchers_exit_code(self):
        out = self.account([line(1, 5, "exit", by="abort"),
                            line(1, 2000, "exit", code=4294967295, by="launcher")], "--strict")
        self.assertIn("Outcome: exit code 4294967295 after 2.0 ms (the VM aborted while it was "
                      "created)\n", out)

    def test_the_main_class_reads_with_its_origin_and_the_manifest_with_its_options(self):
        jar = "C:\\App\\viewer.jar"
        out = self.account([
            line(1, 5, "manifest", jar=jar),
            line(1, 6, "manifest-option", jar=jar, text="--add-opens=a/b=ALL-UNNAMED"),
            line(1, 7, "main-class", name="com/example/App", origin="manifest"),
            line(1, 2000, "exit", code=0, by="launcher")], "--strict")
        self.assertIn("Manifest of %s read, adding --add-opens=a/b=ALL-UNNAMED\n" % jar, out)
        self.assertIn("Main class: com/example/App (from the jar's manifest)\n", out)
        status, _, err = self.run_explain(
            line(1, 1, "main-class", name="a/B", origin="guess"), "--strict")
        self.assertNotEqual(status, 0, err)

    def test_a_jar_that_cannot_be_used_is_the_reason_the_settings_stage_failed(self):
        out = self.account([
            setting(1, 3, "Main Class", "", "default"),
            setting(1, 4, "Main Jar", "\\viewer.jar", "file"),
            line(1, 6, "stage", stage="settings", ok=False),
            line(1, 2000, "exit", code=4294967295, by="launcher")], "--strict")
        self.assertIn("the settings stage failed: the application's jar \\viewer.jar could not "
                      "be used)", out)
    def test_a_modular_launch_names_the_raised_minimum_the_rewrites_and_the_module_class(self):
        out = self.account([
            line(3, 5, "minimum-version", version="9", why="module-settings"),
            line(3, 6, "vm-option-rewritten", written="-p \\mods",
                 passed="--module-path=C:\\App\\mods"),
            line(3, 7, "main-class", name="com/example/Main", origin="module"),
            line(3, 8, "main", name="com/example/Main", outcome="launched"),
        ], "--strict")
        for text in ["Minimum version: 9, since the module settings need Java 9 or later",
                     "VM option \"-p \\mods\" passed as --module-path=C:\\App\\mods",
                     "Main class: com/example/Main (from the Main Module)"]:
            self.assertIn(text + "\n", out)

    def test_launches_sharing_a_file_are_told_apart_and_last_keeps_the_latest(self):
        first = launch_that_picks_a_registered_runtime(pid=7)
        second = launch_that_picks_a_registered_runtime(pid=9)
        # Interleaved, as launches at the same moment write them.
        mixed = [event for pair in zip(first, second) for event in pair]
        out = self.account(mixed, "--strict")
        self.assertEqual(out.count("Outcome: exit code 0"), 2)
        self.assertIn("process 7)", out)
        self.assertIn("process 9)", out)
        self.assertEqual(out.count("VM options:"), 2)
        last = self.account(mixed, "--last")
        self.assertNotIn("process 7)", last)
        self.assertIn("process 9)", last)

    def test_damaged_lines_spoil_only_themselves_unless_strict(self):
        lines = launch_that_picks_a_registered_runtime()
        # A line cut short by a full disk, and bytes that are not UTF-8.
        damaged = "".join(lines[:3]).encode() + b'{"us":31,"pid":7,"ev":"sett\n' + \
            b'\xff\xfe\n' + "".join(lines[3:]).encode()
        status, out, _ = self.run_explain(damaged)
        self.assertEqual(status, 0)
        self.assertIn("Outcome: exit code 0", out)
        status, _, err = self.run_explain(damaged, "--strict")
        self.assertEqual(status, 1)
        self.assertIn("launch.trace:4: not a JSON line", err)

    def test_strict_refuses_what_the_launcher_never_writes(self):
        rows = [
            (line(1, 1, "runtime", **{"from": "registry"}, verdict="too-old"),
             "runtime verdict 'too-old' is not known"),
            (line(1, 1, "vm-option", index=0, text="-Xmx1g"), "vm-option event without hook"),
            (line(1, 1, "coffee"), "unknown event 'coffee'"),
            ('{"pid":1,"ev":"start"}\n', "an event needs us, pid and ev"),
        ]
        for content, message in rows:
            with self.subTest(message):
                status, _, err = self.run_explain(content, "--strict")
                self.assertEqual(status, 1)
                self.assertIn(message, err)
        status, _, err = self.run_explain("", "--strict")
        self.assertEqual(status, 1)
        self.assertIn("no launch in the trace", err)

    def test_a_trace_cut_off_before_the_exit_says_so(self):
        out = self.account(launch_that_picks_a_registered_runtime()[:-1])
        self.assertIn("Outcome: the trace ends before the process did\n", out)

    def test_a_missing_file_is_an_error_not_a_crash(self):
        done = subprocess.run([sys.executable, EXPLAIN, os.path.join(self.folder.name, "none")],
                              capture_output=True, text=True)
        self.assertEqual(done.returncode, 1)
        self.assertTrue(done.stderr.startswith("explain.py: "))


if __name__ == "__main__":
    unittest.main()
