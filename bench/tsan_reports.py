#!/usr/bin/env python3
"""Sorts the reports in a ThreadSanitizer log by whose code they involve.

    tsan_reports.py LOG [--show N]

Qt is not built with ThreadSanitizer, so the tool cannot see Qt's own locks and atomics, and
reports Qt handing its own memory between its threads (its thread pool's tasks, its event queue)
as races. A report counts when each of the two accesses of the race has a frame of the program's
own code (app/, compare/, files/, platform/, cli/) in its stack, or when one has and the other's
stack could not be restored (it might have) -- unless both accesses were made inside a Qt library:
then the program's frames are only the callers of Qt (posting an event from two threads, say), and
the report is listed in one line a side for a reader to judge, not counted. Prints the counted
reports whole (at most N of them, default 20), then the counts by kind. Exit status 0 when none
counts, 1 otherwise, 2 on trouble.
"""

import argparse
import re
import sys
from collections import Counter

SOURCE = re.compile(r"(\S+):\d+")
PROJECT_FILE = re.compile(r"(?:^|/)(?:app|compare|files|platform|cli)/[^/]+\.(?:cpp|h)$")
FRAME = re.compile(r"^\s+#\d+ ")
# The header of the stack of one access: "Write of size 8 at ... by thread T3:", "Previous
# atomic read of size 1 ...", "Read of size 8 ... by main thread (mutexes: ...):".
ACCESS = re.compile(r"^  (?:Previous )?(?:[Aa]tomic )?(?:[Ww]rite|[Rr]ead) of size")
KIND = re.compile(r"WARNING: ThreadSanitizer: (.+?) \(pid=")
UNRESTORED = "[failed to restore the stack]"
QT_MODULE = re.compile(r"\(libQt6\w*\.so")
SANITIZER = re.compile(r"\(libtsan\.so|/libsanitizer/")


def reports(lines):
    """Each report: the lines from its WARNING to its SUMMARY."""
    report = None
    for line in lines:
        if "WARNING: ThreadSanitizer:" in line:
            report = [line]
        elif report is not None:
            report.append(line)
            if line.startswith("SUMMARY: ThreadSanitizer:"):
                yield report
                report = None


def access_stacks(report):
    """The frames under each access header, in order."""
    stacks, current = [], None
    for line in report:
        if ACCESS.match(line):
            current = []
            stacks.append(current)
        elif current is not None and (FRAME.match(line) or UNRESTORED in line):
            current.append(line)
        else:
            current = None
    return stacks


def is_project_frame(frame):
    """Whether the frame is in a source of the program's own (not a system header, a test's
    stand-in or the benchmarks)."""
    return any(
        not path.startswith("/usr/") and PROJECT_FILE.search(path)
        for path in SOURCE.findall(frame)
    )


def made_inside_qt(stack):
    """Whether the access itself was made by a Qt library (its innermost frame but the tool's)."""
    for frame in stack:
        if not SANITIZER.search(frame):
            return bool(QT_MODULE.search(frame))
    return False


def project_frame(stack):
    """The innermost frame of the program's own code, shortened."""
    for frame in stack:
        if is_project_frame(frame):
            return re.sub(r"\s*\([^()]*\+0x[0-9a-f]+\)$", "", frame.split(" ", 5)[-1]).strip()
    return "-"


def classify(report):
    """'project' when the report counts, else why not."""
    stacks = access_stacks(report)[:2]
    if len(stacks) < 2:
        return "no two accesses"
    own = [any(is_project_frame(frame) for frame in stack) for stack in stacks]
    unknown = [not stack or any(UNRESTORED in frame for frame in stack) for stack in stacks]
    if all(own) and all(made_inside_qt(stack) for stack in stacks):
        return "project frames on both sides, both accesses inside Qt"
    if all(own):
        return "project"
    if (own[0] and unknown[1]) or (own[1] and unknown[0]):
        return "project"
    if any(own):
        return "project frame on one side only"
    return "no project frame"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("log")
    parser.add_argument("--show", type=int, default=20)
    args = parser.parse_args()
    try:
        with open(args.log, encoding="utf-8", errors="replace") as log:
            found = list(reports(log.read().splitlines()))
    except OSError as error:
        print(f"tsan_reports.py: {error}", file=sys.stderr)
        return 2

    by_class = Counter()
    by_kind = Counter()
    counted = []
    inside_qt = []
    for report in found:
        kind = KIND.search(report[0])
        kind = kind.group(1) if kind else "unknown"
        verdict = classify(report)
        by_class[verdict] += 1
        by_kind[(kind, verdict)] += 1
        if verdict == "project":
            counted.append(report)
        elif verdict.endswith("inside Qt"):
            inside_qt.append(report)

    for report in counted[: args.show]:
        print("\n".join(report))
        print()
    if inside_qt:
        print("Both accesses inside Qt, called from these frames of the program:")
        for report in inside_qt:
            sides = [project_frame(stack) for stack in access_stacks(report)[:2]]
            print(f"  {sides[0]}  /  {sides[1]}")
    print(f"ThreadSanitizer reports: {len(found)}")
    for (kind, verdict), count in sorted(by_kind.items()):
        print(f"  {count:5d}  {kind}: {verdict}")
    print(f"with a project frame in both stacks: {len(counted)}")
    return 0 if not counted else 1


if __name__ == "__main__":
    sys.exit(main())
