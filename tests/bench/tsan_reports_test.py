#!/usr/bin/env python3
"""Shows that bench/tsan_reports.py counts exactly the races with the program's own code on both
sides: a table of reports, shaped as ThreadSanitizer writes them, each with whether it counts.

    tsan_reports_test.py TSAN_REPORTS_SCRIPT
"""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = None

TOOL = "../../../../src/libsanitizer/tsan/tsan_new_delete.cpp:150 (libtsan.so.2+0x86c3d)"
MEMMOVE = "memmove ../../../../src/libsanitizer/sanitizer_common/x.inc:810 (libtsan.so.2+0x5dc76)"
QT_CORE = "<null> <null> (libQt6Core.so.6+0x1edc4c)"
QT_EXPORTED = "QCoreApplication::postEvent(QObject*, QEvent*, int) <null> (libQt6Core.so.6+0x1e0)"
WORKER = "WorkOutPass ../compare/FindWordDifferences.cpp:58 (concurrency_tour+0xb8a48)"
WINDOW = "Pane::SetText(QString, TextLines) ../platform/Pane.cpp:108 (concurrency_tour+0xd2afd)"
HEADER = "LineSet::Find ../compare/LineSet.h:40 (concurrency_tour+0x1234)"
QT_HEADER = "impl /usr/include/x86_64-linux-gnu/qt6/QtCore/qobjectdefs_impl.h:405 (t+0x1)"
SYSTEM_PLATFORM = "f /usr/include/x86_64-linux-gnu/platform/app/files.h:3 (concurrency_tour+0x1)"
BENCH = "main ../bench/concurrency_tour.cpp:424 (concurrency_tour+0x2c405)"
STAND_IN = "Show ../tests/support/ScriptedMsgBox.h:20 (concurrency_tour+0x99)"


def stack(*frames):
    return [f"    #{i} {frame}" for i, frame in enumerate(frames)]


def report(first, second, extra=(), kind="data race"):
    """A report of a race between two accesses, with the stacks given innermost first."""
    lines = [f"WARNING: ThreadSanitizer: {kind} (pid=4242)"]
    lines += ["  Read of size 8 at 0x7b0c00004f00 by thread T3:"] + stack(*first) + [""]
    if second is not None:
        lines += ["  Previous write of size 8 at 0x7b0c00004f00 by main thread:"]
        lines += stack(*second) if second else ["    [failed to restore the stack]"]
        lines += [""]
    lines += list(extra)
    lines += ["SUMMARY: ThreadSanitizer: data race somewhere", "=================="]
    return lines


# Where a project frame stands only outside the two accesses: what was allocated, who started the
# thread.
ALLOCATED_AND_STARTED = [
    "  Location is heap block of size 34 at 0x7b0c00004ef0 allocated by main thread:",
    *stack("malloc x.cpp:647 (libtsan.so.2+0x3ebb8)", WINDOW),
    "",
    "  Thread T3 'Thread (pooled)' (tid=22834, running) created by main thread at:",
    *stack("pthread_create x.cpp:1001 (libtsan.so.2+0x5e686)", WORKER),
    "",
]

CASES = [
    ("the program's code on both sides", report([WORKER], [WINDOW]), True),
    ("a header of the program's on one side", report([HEADER], [WINDOW]), True),
    ("the program calls Qt on one side only", report([QT_CORE, WORKER], [WINDOW]), True),
    ("Qt's own memory moved by Qt on both sides, the program its caller",
     report([MEMMOVE, MEMMOVE, QT_CORE, WORKER], [MEMMOVE, QT_EXPORTED, WINDOW]), False),
    ("freed inside Qt on one side, read by the program on the other",
     report(["operator delete " + TOOL, QT_CORE, WORKER], [WINDOW]), True),
    ("deleted in a Qt header on one side: not inside a Qt library",
     report(["operator delete " + TOOL, QT_HEADER, WORKER], [QT_CORE, WINDOW]), True),
    ("the program on one side, the other stack lost", report([WORKER], []), True),
    ("Qt only on one side, the other stack lost", report([QT_CORE], []), False),
    ("the program on one side only", report([WORKER], [QT_CORE, BENCH]), False),
    ("no frame of the program", report([QT_CORE], [QT_EXPORTED, BENCH]), False),
    ("the program only where the block was allocated and the thread started",
     report([QT_CORE], [QT_CORE], ALLOCATED_AND_STARTED), False),
    ("the program on one side, and where the block was allocated",
     report([WORKER], [QT_CORE], ALLOCATED_AND_STARTED), False),
    ("system headers under folders of the same names are not the program's",
     report([SYSTEM_PLATFORM], [SYSTEM_PLATFORM]), False),
    ("the benchmarks and the tests' stand-ins are not the program's",
     report([BENCH], [STAND_IN]), False),
    ("a use after free is a race of two accesses too",
     report([WORKER], [WINDOW], kind="heap-use-after-free"), True),
    ("a report with one stack only", report([WORKER], None, kind="thread leak"), False),
]


class TsanReportsTest(unittest.TestCase):
    def run_on(self, lines):
        with tempfile.TemporaryDirectory() as scratch:
            log = os.path.join(scratch, "tsan.log")
            with open(log, "w", encoding="utf-8") as out:
                out.write("some output of the program\n")
                out.write("\n".join(["=================="] + lines) + "\n")
            return subprocess.run([sys.executable, SCRIPT, log], capture_output=True,
                                  text=True, check=False)

    def test_each_report_counts_when_the_programs_code_is_on_both_sides(self):
        for what, lines, counts in CASES:
            with self.subTest(what):
                result = self.run_on(lines)
                self.assertEqual(result.returncode, 1 if counts else 0, result.stdout)
                self.assertIn(f"with a project frame in both stacks: {int(counts)}",
                              result.stdout)

    def test_a_log_counts_every_report_that_counts(self):
        lines = [line for _, report_lines, _ in CASES for line in report_lines]
        result = self.run_on(lines)
        self.assertEqual(result.returncode, 1)
        self.assertIn(f"ThreadSanitizer reports: {len(CASES)}", result.stdout)
        expected = sum(counts for _, _, counts in CASES)
        self.assertIn(f"with a project frame in both stacks: {expected}", result.stdout)

    def test_a_clean_log_counts_none(self):
        result = self.run_on(["tour: 90 checks, 0 failed"])
        self.assertEqual(result.returncode, 0, result.stdout)
        self.assertIn("ThreadSanitizer reports: 0", result.stdout)

    def test_a_missing_log_is_trouble(self):
        with tempfile.TemporaryDirectory() as scratch:
            result = subprocess.run(
                [sys.executable, SCRIPT, os.path.join(scratch, "missing.log")],
                capture_output=True, text=True, check=False)
        self.assertEqual(result.returncode, 2)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: tsan_reports_test.py TSAN_REPORTS_SCRIPT")
    SCRIPT = sys.argv.pop()
    unittest.main()
