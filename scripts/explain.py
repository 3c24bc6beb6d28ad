#!/usr/bin/env python3
"""Prints a launch trace as a short readable account.

The launcher writes the trace when the environment variable QOVA_LAUNCHER_TRACE names a file:
one JSON object per line, each with the microseconds since the process started ("us"), the
process id ("pid") and the kind of event ("ev"). Launches that share a file are told apart by
their process id and explained one after the other.

Usage: explain.py [--strict] [--last] TRACEFILE...
  --strict  fail on a line that is not a known event with its fields (used by the tests, so that
            this script and the launcher cannot drift apart unnoticed)
  --last    explain only the last launch in each file
"""

import json
import sys

# Every event kind and the fields it always carries.
EVENTS = {
    "start": ("format", "arch", "exe", "cmdline", "cwd"),
    "stage": ("stage",),
    "exit": ("by",),
    "settings-file": ("file", "embedded-sections"),
    "user-settings-file": ("file", "exists"),
    "setting": ("section", "key", "value", "source"),
    "instance": ("mode",),
    "search": ("from", "view"),
    "family": ("key", "kind", "provider", "verdict"),
    "runtime": ("from", "verdict"),
    "order": ("rank", "version", "home", "favored", "server"),
    "pick": ("version", "home"),
    "chosen": ("from", "jvm", "paired"),
    "architecture": ("jvm", "machine", "hand-over"),
    "dialog": ("dialog", "result"),
    "remember": ("file", "folder", "written"),
    "env": ("name", "value"),
    "cwd": ("folder",),
    "splash": ("kind", "image"),
    "dpi": ("window", "dpi", "on"),
    "jvm-library": ("path", "loaded"),
    "vm-option": ("index", "text", "hook"),
    "vm": ("result",),
    "main-thread": ("stack",),
    "main": ("name", "outcome"),
    "main-arg": ("index", "text"),
    "main-class": ("name", "origin"),
    "manifest": ("jar",),
    "manifest-option": ("jar", "text"),
    "vm-option-rewritten": ("written", "passed"),
    "vm-option-refused": ("text", "fault"),
    "minimum-version": ("version", "why"),
}

# The words some fields take.
WORDS = {
    ("setting", "source"): {"default", "embedded", "file", "plus-section",
                            "embedded+plus-section", "user-file"},
    ("runtime", "verdict"): {"kept", "below-minimum", "above-maximum", "kind-not-wanted",
                             "provider-not-accepted", "no-java-home", "no-jvm-library",
                             "no-runtime-home", "other-architecture"},
    ("family", "verdict"): {"searched", "kind-not-wanted", "provider-not-accepted"},
    ("stage", "stage"): {"settings", "application", "runtime", "splash", "jvm-library",
                         "options", "java-main-thread", "vm", "main", "paired-product",
                         "paired-product-start", "second-instance"},
    ("main", "outcome"): {"class-not-found", "no-main-method", "called", "launched",
                          "returned", "exception", "stopped"},
    ("vm-option-refused", "fault"): {"missing-value", "java-command-action"},
    ("main-class", "origin"): {"setting", "module", "manifest"},
    ("minimum-version", "why"): {"module-settings"},
    ("exit", "by"): {"launcher", "System.exit", "abort"},
    ("dialog", "result"): {"ok", "cancel", "failed"},
    ("instance", "mode"): {"off", "first", "second"},
    ("search", "view"): {"native", "32-bit"},
    ("splash", "kind"): {"native", "runtime"},
    ("dpi", "window"): {"splash", "missing-runtime", "exception"},
    ("dpi", "on"): {"open", "change"},
    ("start", "arch"): {"x64", "x86", "arm64"},
    ("runtime", "machine"): {"x86", "x64", "arm64", "other", "none"},
    ("architecture", "machine"): {"x86", "x64", "arm64", "other", "none"},
}

SOURCE_NAMES = {
    "default": "not set",
    "embedded": "embedded settings",
    "file": "settings file",
    "plus-section": "settings file, \"+\" section",
    "embedded+plus-section": "embedded settings extended by the \"+\" section",
    "user-file": "per-user file",
}

JNI_RESULTS = {-1: "unknown error", -2: "thread detached from VM", -3: "JNI version error",
               -4: "not enough memory", -5: "VM already created", -6: "invalid arguments"}

WINDOWS_ERRORS = {2: "file not found", 3: "path not found", 5: "access denied",
                  126: "the library or one it needs is missing",
                  127: "an entry point is missing",
                  193: "not a library this launcher's architecture can load"}

JRE = "Java Runtime Environment"


class TraceError(Exception):
    pass


def read_events(path, strict):
    events = []
    with open(path, "rb") as trace:
        for number, raw in enumerate(trace, 1):
            where = "%s:%d" % (path, number)
            try:
                event = json.loads(raw.decode("utf-8"))
            except (UnicodeDecodeError, ValueError) as error:
                # A line cut short (a full disk) spoils only itself.
                if strict:
                    raise TraceError("%s: not a JSON line (%s)" % (where, error))
                continue
            if not isinstance(event, dict) or not {"us", "pid", "ev"} <= event.keys():
                if strict:
                    raise TraceError("%s: an event needs us, pid and ev" % where)
                continue
            if strict:
                check_event(event, where)
            events.append(event)
    return events


def check_event(event, where):
    kind = event["ev"]
    if kind not in EVENTS:
        raise TraceError("%s: unknown event %r" % (where, kind))
    missing = [field for field in EVENTS[kind] if field not in event]
    if missing:
        raise TraceError("%s: %s event without %s" % (where, kind, ", ".join(missing)))
    for (word_kind, field), words in WORDS.items():
        if kind == word_kind and field in event and event[field] not in words:
            raise TraceError("%s: %s %s %r is not known" % (where, kind, field, event[field]))


def launches(events):
    """The events of each process, in the order the processes started."""
    by_pid = {}
    for event in events:
        by_pid.setdefault(event["pid"], []).append(event)
    return list(by_pid.values())


class Launch:
    def __init__(self, events):
        self.events = events
        start = self.first("start") or {}
        self.architecture = start.get("arch")
        self.private_runtime_folder = {"x86": "jre32", "arm64": "jrearm64"}.get(
            self.architecture, "jre64")
        self.settings = {}
        for event in self.of("setting"):
            self.settings.setdefault((event["section"], event["key"]), event)

    def of(self, kind):
        return [event for event in self.events if event["ev"] == kind]

    def first(self, kind):
        found = self.of(kind)
        return found[0] if found else None

    def setting(self, key, section=JRE):
        event = self.settings.get((section, key))
        return event["value"] if event else ""


def quoted(text):
    """Text that holds a blank or a path separator, or none at all, within quotes."""
    return '"%s"' % text if text == "" or " " in text or ";" in text else text


def describe_settings(launch):
    parts = []
    settings_file = launch.first("settings-file")
    if settings_file:
        sections = settings_file["embedded-sections"]
        parts.append("%s (%s)" % (settings_file["file"],
                                  "%d embedded sections" % sections if sections
                                  else "no embedded settings"))
    user_file = launch.first("user-settings-file")
    if user_file:
        parts.append("per-user file %s (%s)" % (
            user_file["file"], "present" if user_file["exists"] else "not present"))
    values = []
    defaults = 0
    for event in launch.settings.values():
        if event["source"] == "default":
            defaults += 1
            continue
        values.append("%s = %s (%s)" % (event["key"], quoted(event["value"]),
                                        SOURCE_NAMES[event["source"]]))
    if defaults:
        values.append("%d more not set" % defaults)
    return "; ".join(parts + values)


def runtime_label(event):
    if "provider" in event:
        return "%s %s %s" % (event["provider"], event["kind"], event["name"])
    return {"jre-path": "JRE Path", "private": "private runtime"}.get(event["from"],
                                                                       event["from"])


def refusal(launch, event):
    verdict = event["verdict"]
    label = runtime_label(event)
    if verdict == "above-maximum":
        return "%s above Maximum Version %s" % (label, launch.setting("Maximum Version"))
    if verdict == "below-minimum":
        return "%s below Minimum Version %s" % (label, launch.setting("Minimum Version"))
    if verdict == "kind-not-wanted":
        return "%s not wanted by JVM Source %s" % (label, quoted(launch.setting("JVM Source")))
    if verdict == "provider-not-accepted":
        provider = launch.setting("VM Provider")
        return "%s not accepted by VM Provider %s" % (
            label, provider if provider else "(not set: Sun only)")
    if verdict == "other-architecture":
        machine = event.get("machine")
        return "%s is built for %s (%s)" % (
            label, machine if machine in ("x86", "x64", "arm64") else "the other architecture",
            event.get("jvm", "?"))
    if verdict == "no-java-home":
        return "%s has no JavaHome" % label
    if verdict == "no-runtime-home":
        return "no private runtime (no bin\\java.dll in %s or its %s\\)" % (
            event["home"], launch.private_runtime_folder)
    if verdict == "no-jvm-library":
        wanted = {"server": " for JVM Type server"}.get(launch.setting("JVM Type"), "")
        return "%s in %s has no JVM library%s" % (label, event.get("home", "?"), wanted)
    return "%s %s" % (label, verdict)


def describe_runtimes(launch):
    considered, refused = [], []
    view = ""
    for event in launch.events:
        kind = event["ev"]
        if kind == "search":
            view = "" if event["view"] == "native" else ", 32-bit view"
        elif kind == "family" and event["verdict"] != "searched":
            refused.append("%s %s family %s" % (event["provider"], event["kind"], {
                "kind-not-wanted": "not wanted by JVM Source %s"
                                   % quoted(launch.setting("JVM Source")),
                "provider-not-accepted": "not accepted by VM Provider %s"
                                         % (launch.setting("VM Provider") or "(not set)"),
            }[event["verdict"]]))
        elif kind == "runtime":
            if event["verdict"] == "kept":
                where = event["from"] + view if "provider" in event else ""
                considered.append("%s (%s%s)" % (runtime_label(event), event.get("jvm", "?"),
                                                 ", " + where if where else ""))
            else:
                refused.append(refusal(launch, event))
    text = ", ".join(considered) if considered else "none usable"
    if refused:
        text += " (refused: %s)" % "; ".join(refused)
    return text


def describe_choice(launch):
    order = launch.of("order")
    parts = []
    if order:
        parts.append("order " + ", ".join(
            event["version"] + (" favoured" if event["favored"] else "") +
            (" server" if event["server"] else "") for event in order))
    for pick in launch.of("pick"):
        if "preferred" in pick:
            parts.append("Preferred versions entry %s picked %s" % (quoted(pick["preferred"]),
                                                                   pick["version"]))
        else:
            parts.append("picked %s, the first in order" % pick["version"])
    for dialog in launch.of("dialog"):
        parts.append("the %s dialog ended with %s%s" % (
            dialog["dialog"], dialog["result"],
            " on " + dialog["detail"] if dialog.get("detail") else ""))
    for remember in launch.of("remember"):
        parts.append("%s %s in %s" % (
            "remembered" if remember["written"] else "could not remember", remember["folder"],
            remember["file"]))
    return "; ".join(parts)


def describe_outcome(launch):
    # A VM that aborts while it is created is traced as an abort, then as the launcher's exit
    # with its code: the exit with a code tells the code, the abort why.
    exits = launch.of("exit")
    exit_event = next((event for event in exits if "code" in event), launch.first("exit"))
    failed = [event for event in launch.of("stage") if event.get("ok") is False]
    reason = ""
    if failed:
        stage = failed[0]["stage"]
        reason = "the %s stage failed" % stage
        if stage == "settings" and not launch.setting("Main Class"):
            jar = launch.setting("Main Jar") or (
                launch.setting("Embedded Jar", "Application").lower() == "yes" and "the launcher")
            reason += (": the application's jar %s could not be used" % jar if jar
                       else ": Main Class is not set")
        elif stage == "runtime":
            reason += ": no runtime qualified"
            dialog = launch.first("dialog")
            if dialog:
                reason += " and the %s dialog ended with %s" % (dialog["dialog"],
                                                                dialog["result"])
        elif stage == "jvm-library":
            library = launch.first("jvm-library") or {}
            if "missing" in library:
                reason += ": %s lacks %s" % (library["path"], library["missing"])
            elif "error" in library:
                reason += ": %s could not be loaded (error %d: %s)" % (
                    library["path"], library["error"],
                    WINDOWS_ERRORS.get(library["error"], "see the Windows error codes"))
        elif stage == "options":
            refused = launch.first("vm-option-refused")
            if refused:
                reason += ": %s in Virtual Machine Parameters %s" % (
                    quoted(refused["text"]),
                    {"missing-value": "has no value",
                     "java-command-action": "is an action of the java command"}[
                        refused["fault"]])
            else:
                reason += ": the class path came out empty"
        elif stage == "vm":
            vm = launch.first("vm") or {}
            result = vm.get("result")
            reason += ": JNI_CreateJavaVM returned %s (%s)" % (
                result, JNI_RESULTS.get(result, "not a JNI error code"))
        elif stage == "main":
            main = launch.of("main")
            if main:
                reason += ": %s %s" % (main[-1]["name"], main[-1]["outcome"].replace("-", " "))
    if exit_event is not None and exit_event["by"] == "launcher" and any(
            event["by"] == "abort" for event in exits):
        reason = "the VM aborted while it was created"
    for main in launch.of("main"):
        if main["outcome"] == "exception":
            reason = (reason + "; " if reason else "") + "an exception escaped main"
    if exit_event is None:
        return reason or "the trace ends before the process did"
    by = {"launcher": "", "System.exit": " through System.exit", "abort": " by a VM abort"}
    text = "exit code %s%s after %.1f ms" % (exit_event.get("code", "?"), by[exit_event["by"]],
                                            exit_event["us"] / 1000.0)
    return text + (" (%s)" % reason if reason else "")


def explain(events):
    launch = Launch(events)
    lines = []
    start = launch.first("start")
    if start:
        lines.append("Launch of %s (%s launcher, process %d), command line: %s" % (
            start["exe"], {"x86": "32-bit", "arm64": "ARM64"}.get(start.get("arch"), "64-bit"), start["pid"],
            start["cmdline"]))
    lines.append("Settings: " + describe_settings(launch))
    instance = launch.first("instance")
    if instance and instance["mode"] != "off":
        lines.append("Single instance: this is the %s instance" % instance["mode"])
    if launch.of("runtime") or launch.of("family"):
        lines.append("Runtimes considered: " + describe_runtimes(launch))
    choice = describe_choice(launch)
    if choice:
        lines.append("Selection: " + choice)
    for event in launch.of("minimum-version"):
        lines.append("Minimum version: %s, since the module settings need Java 9 or later"
                     % event["version"])
    for chosen in launch.of("chosen"):
        lines.append("Chosen: %s (%s%s)" % (
            chosen["jvm"], chosen["from"],
            ", handed to the paired launcher" if chosen["paired"] else ""))
    for event in launch.of("cwd"):
        lines.append("Working directory: " + event["folder"])
    environment = launch.of("env")
    if environment:
        lines.append("Environment: " + "; ".join(
            "%s=%s" % (event["name"], event["value"]) for event in environment))
    for event in launch.of("splash"):
        lines.append("Splash: %s (%s)" % (event["image"], event["kind"]))
    # Each window's scale: where it opened, then every move to a monitor of another scale.
    scales = {}
    for event in launch.of("dpi"):
        scales.setdefault(event["window"], []).append(event["dpi"])
    for window, dpis in scales.items():
        lines.append("Display scale of the %s window: %s" % (window, " -> ".join(
            "%s DPI (%d%%)" % (dpi, round(int(dpi) * 100 / 96)) for dpi in dpis)))
    for library in launch.of("jvm-library"):
        lines.append("JVM library: %s%s" % (library["path"],
                                            " loaded" if library["loaded"] else " NOT loaded"))
    for event in launch.of("manifest"):
        added = [option["text"] for option in launch.of("manifest-option")
                 if option["jar"] == event["jar"]]
        lines.append("Manifest of %s read%s" % (
            event["jar"], ", adding " + "; ".join(added) if added else ", adding no VM option"))
    options = launch.of("vm-option")
    if options:
        lines.append("VM options: " + "; ".join(
            quoted(event["text"]) + (" (hook)" if event["hook"] else "") for event in options))
    for event in launch.of("vm-option-rewritten"):
        lines.append("VM option %s passed as %s" % (quoted(event["written"]),
                                                   quoted(event["passed"])))
    for event in launch.of("main-class"):
        lines.append("Main class: %s (from %s)" % (event["name"], {
            "setting": "Main Class", "module": "the Main Module",
            "manifest": "the jar's manifest"}[event["origin"]]))
    arguments = launch.of("main-arg")
    mains = launch.of("main")
    if mains:
        lines.append("Main: %s with %d argument%s%s; %s" % (
            mains[0]["name"], len(arguments), "" if len(arguments) == 1 else "s",
            " (" + ", ".join(quoted(event["text"]) for event in arguments) + ")"
            if arguments else "",
            ", ".join(event["outcome"] for event in mains)))
    lines.append("Outcome: " + describe_outcome(launch))
    return lines


def main(arguments):
    strict = "--strict" in arguments
    last = "--last" in arguments
    paths = [argument for argument in arguments if not argument.startswith("--")]
    if not paths:
        sys.stderr.write(__doc__)
        return 2
    # Paths may hold lone surrogates, which the trace keeps; show them escaped.
    sys.stdout.reconfigure(errors="backslashreplace")
    try:
        for path in paths:
            found = launches(read_events(path, strict))
            if strict and not found:
                raise TraceError("%s: no launch in the trace" % path)
            for index, events in enumerate(found[-1:] if last else found):
                if index:
                    print()
                print("\n".join(explain(events)))
    except (OSError, TraceError) as error:
        sys.stderr.write("explain.py: %s\n" % error)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
