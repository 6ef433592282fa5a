#!/usr/bin/env python3
"""Summarises the runs of bench/window_bench.sh for one pair of files.

Reads, in WORK_DIR, the JSON reports window-PAIR-R.json of window_bench (with the exit status of
each run in window-PAIR-R.status) and the figures of tarnwick-cli in cli-PAIR-MODE.txt (one run a
line: wall seconds, peak KiB, exit status). Prints the medians of each step beside the CLI's, the
ratios the window's targets are stated in, and "met" or "MISSED" where a target applies.

Exit status: 0 when every applicable target is met, 1 when one is missed, 2 when a run went wrong
(it crashed, reported an error, or did not say "Done." after a comparison).
"""

import argparse
import json
import math
import os
import statistics
import sys

MiB = 1024 * 1024
LOADS_AND_COMPARISONS = ("load1", "load2", "lines", "words")
COMPARISONS = ("lines", "words")


def median(values):
    """The median, where an infinity stands for a run that timed out; None for no values."""
    values = sorted(values)
    return statistics.median(values) if values else None


def figure_text(value):
    if value is None:
        return "-"
    return "timed out" if math.isinf(value) else f"{value:.3f}"


class Runs:
    """The window's runs of one pair: per step, its figures in every run that reached it."""

    def __init__(self, work, pair, runs):
        self.reports = []
        self.failures = []
        for run in range(1, runs + 1):
            stem = os.path.join(work, f"window-{pair}-{run}")
            status = int(open(stem + ".status").read().strip() or "0")
            try:
                report = json.load(open(stem + ".json"))
            except (OSError, ValueError):
                self.failures.append(f"run {run}: no report (exit status {status}), see {stem}.log")
                continue
            if status not in (0, 3):
                self.failures.append(f"run {run}: exit status {status}, see {stem}.log")
            self.reports.append(report)

    def steps(self):
        names = []
        for report in self.reports:
            names += [step["step"] for step in report["steps"] if step["step"] not in names]
        return names

    def values(self, step_name, key):
        """The figure of the step in each run that reached it; the time and the stall of a step
        that timed out count as infinite."""
        values = []
        for report in self.reports:
            for step in report["steps"]:
                if step["step"] != step_name:
                    continue
                if step["timed_out"] and key in ("seconds", "longest_stall_seconds"):
                    values.append(math.inf)
                elif step.get(key) is not None:
                    values.append(step[key])
        return values

    def median(self, step_name, key="seconds"):
        return median(self.values(step_name, key))


def read_cli(path):
    """Median seconds and peak bytes of the CLI's runs; None where a run failed or timed out."""
    seconds, peaks = [], []
    for line in open(path):
        wall, kib, status = line.split()
        if int(status) not in (0, 1):  # 1 means "differences found"
            return None, None
        seconds.append(float(wall))
        peaks.append(int(kib) * 1024)
    return median(seconds), median(peaks)


# Upper limits of the steps' median times, by the kind of pair they apply to.
STEP_LIMITS = {
    "million": {"load1": 1, "load2": 1, "show_lists": 0.05, "show_full": 0.05, "scroll_end": 0.02},
    "one line": {"load1": 1, "load2": 1, "show_lists": 0.05, "show_full": 0.05,
                 "scroll_end": 0.05, "scroll_top": 0.05},
}
# Upper limits of window / CLI for the comparisons.
CLI_RATIO_LIMITS = {"million": {"lines": 1.5, "words": 2}, "one line": {"lines": 1.5, "words": 2}}
STALL_LIMIT = 0.1  # seconds, during any load or comparison, for every pair
# The whole run's peak RSS, for every pair, at most four times the files' size and 100 MB.
BOUND_FILES, BOUND_FIXED = 4, 100_000_000
PEAK_LIMIT = {"million": 4}  # peak RSS after loading and both comparisons / the files' size


class Verdicts:
    def __init__(self):
        self.missed = False

    def line(self, what, value, limit):
        """Prints a figure beside its limit, or for scale only when the limit is None."""
        text = figure_text(value)
        if limit is None:
            print(f"  {what:<50} {text:>10}")
            return
        met = value is not None and value <= limit
        self.missed |= not met
        print(f"  {what:<50} {text:>10}  (target <= {limit:g}) {'met' if met else 'MISSED'}")


def pair_class(pair):
    if pair == "lines-1000000":
        return "million"
    if pair.rsplit("-", 1)[0] in ("words-line", "x-line"):
        return "one line"
    return None


def print_steps(window, cli, runs, files_bytes, pair):
    print(f"\n=== {pair}: {files_bytes / MiB:.1f} MiB together; medians of {runs} run(s) ===")
    print(f"  {'step':<12} {'time s':>10} {'stall s':>10} {'cpu s':>10} {'peak MiB':>10} "
          f"{'runs':>5}")
    for step in window.steps():
        seconds = window.values(step, "seconds")
        peak = window.median(step, "peak_rss_bytes")
        peak_text = "-" if peak is None else f"{peak / MiB:.1f}"
        print(f"  {step:<12} {figure_text(median(seconds)):>10} "
              f"{figure_text(window.median(step, 'longest_stall_seconds')):>10} "
              f"{figure_text(window.median(step, 'window_cpu_seconds')):>10} "
              f"{peak_text:>10} {len(seconds):>5}")
    for mode, (seconds, peak) in cli.items():
        peak_text = "failed" if peak is None else f"{peak / MiB:.1f}"
        print(f"  {'cli ' + mode:<12} {figure_text(seconds):>10} {'':>10} {'':>10} "
              f"{peak_text:>10}")


def print_targets(window, cli, files_bytes, pair):
    kind = pair_class(pair)
    verdicts = Verdicts()
    print("  ratios and targets:")
    for mode in COMPARISONS:
        ratio = None
        if window.median(mode) is not None and cli[mode][0]:
            ratio = window.median(mode) / cli[mode][0]
        verdicts.line(f"window {mode.capitalize()} / tarnwick-cli {mode}", ratio,
                      CLI_RATIO_LIMITS.get(kind, {}).get(mode))
    # After loading and both comparisons: the running peak at the end of the word comparison.
    peak = window.median("words", "running_peak_rss_bytes")
    verdicts.line("peak RSS after both comparisons MiB", None if peak is None else peak / MiB,
                  None)
    verdicts.line("peak RSS after both comparisons / files",
                  None if peak is None else peak / files_bytes, PEAK_LIMIT.get(kind))
    steps = window.steps()
    run_peak = window.median(steps[-1], "running_peak_rss_bytes") if steps else None
    bound = BOUND_FILES * files_bytes + BOUND_FIXED
    verdicts.line(f"peak RSS of the run MiB (bound {bound / MiB:.0f} MiB)",
                  None if run_peak is None else run_peak / MiB, None)
    verdicts.line("peak RSS of the run / (4 x files + 100 MB)",
                  None if run_peak is None else run_peak / bound, 1)
    for step, limit in STEP_LIMITS.get(kind, {}).items():
        if step in steps:
            verdicts.line(f"{step} s", window.median(step), limit)
    stalls = [(window.median(step, "longest_stall_seconds"), step)
              for step in LOADS_AND_COMPARISONS if step in steps]
    stall, step = max(stalls, default=(None, ""), key=lambda found: found[0] or 0)
    where = f" ({step})" if step else ""
    verdicts.line(f"longest stall in loads and comparisons{where} s", stall, STALL_LIMIT)
    return verdicts.missed


def troubles(window, cli):
    found = list(window.failures)
    for run, report in enumerate(window.reports, 1):
        comparisons = sum(1 for step in report["steps"]
                          if step["step"] in COMPARISONS and not step["timed_out"])
        if report["error_reports"] or report["done_boxes"] != comparisons:
            found.append(f"run {run}: {report['done_boxes']} \"Done.\" boxes for {comparisons} "
                         f"comparisons, {report['error_reports']} error reports")
    for mode, (seconds, _) in cli.items():
        if seconds is None:
            found.append(f"tarnwick-cli {mode} failed or timed out")
    return found


def summarise(work, pair, runs, files_bytes):
    window = Runs(work, pair, runs)
    cli = {mode: read_cli(os.path.join(work, f"cli-{pair}-{mode}.txt")) for mode in COMPARISONS}
    print_steps(window, cli, runs, files_bytes, pair)
    missed = print_targets(window, cli, files_bytes, pair)
    trouble = troubles(window, cli)
    for line in trouble:
        print(f"  TROUBLE: {line}")
    return 2 if trouble else 1 if missed else 0


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("work")
    parser.add_argument("pair")
    parser.add_argument("runs", type=int)
    parser.add_argument("files_bytes", type=int)
    args = parser.parse_args(argv)
    return summarise(args.work, args.pair, args.runs, args.files_bytes)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
