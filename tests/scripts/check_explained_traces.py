#!/usr/bin/env python3
"""The traces the end-to-end tests left behind, explained by scripts/explain.py: every line the
launcher wrote is one explain.py knows (--strict), and each account holds the texts the test
that made the trace expects of it (NAME.expect beside NAME.trace, one text a line).

Usage: check_explained_traces.py FOLDER"""

import glob
import os
import subprocess
import sys

EXPLAIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                       "explain.py")


def main(folder):
    traces = sorted(glob.glob(os.path.join(folder, "*.trace")))
    if not traces:
        print("no traces in %s: run the end-to-end tests first" % folder)
        return 1
    failures = 0
    for trace in traces:
        done = subprocess.run([sys.executable, EXPLAIN, "--strict", trace], capture_output=True,
                              text=True, encoding="utf-8")
        name = os.path.basename(trace)
        if done.returncode != 0:
            print("%s: %s" % (name, done.stderr.strip()))
            failures += 1
            continue
        with open(trace[:-len(".trace")] + ".expect", encoding="utf-8") as expect:
            for text in filter(None, expect.read().split("\n")):
                if text not in done.stdout:
                    print("%s: the account lacks %r\n%s" % (name, text, done.stdout))
                    failures += 1
    print("%d traces explained, %d failures" % (len(traces), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
