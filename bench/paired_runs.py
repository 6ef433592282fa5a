#!/usr/bin/env python3
"""Times commands in turn, run after run, for ratios that a shared machine's load moves less.

    bench/paired_runs.py [--runs N] [--warmup N] COMMAND [COMMAND...]

Each round runs every command once, in the order given, with its output thrown away; the first
--warmup rounds are not counted. It prints each command's median wall time and processor time
(user and system, of the command and what it waits for), and for every command after the first
the median of its ratios to the first, round by round: a load that comes and goes falls on both
commands of a round alike. Exit status 1 is taken as a result (differences found), not a failure.
"""

import argparse
import os
import shlex
import statistics
import subprocess
import sys
import time


def run_once(command):
    start = time.perf_counter()
    with open(os.devnull, "wb") as sink:
        process = subprocess.Popen(shlex.split(command), stdout=sink, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code not in (0, 1):
        sys.exit(f"paired_runs.py: exit status {code} from: {command}")
    return wall, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--warmup", type=int, default=1)
    parser.add_argument("commands", nargs="+")
    args = parser.parse_args()
    walls = [[] for _ in args.commands]
    cpus = [[] for _ in args.commands]
    for round_ in range(args.warmup + args.runs):
        for i, command in enumerate(args.commands):
            wall, cpu = run_once(command)
            if round_ >= args.warmup:
                walls[i].append(wall)
                cpus[i].append(cpu)
    for i, command in enumerate(args.commands):
        line = (f"{statistics.median(walls[i]):8.3f} s wall {statistics.median(cpus[i]):8.3f} s cpu"
                f"  {command}")
        if i > 0:
            wall_ratio = statistics.median(w / f for w, f in zip(walls[i], walls[0]))
            cpu_ratio = statistics.median(c / f for c, f in zip(cpus[i], cpus[0]))
            line += f"\n{'':10}ratio to the first: {wall_ratio:.2f} wall, {cpu_ratio:.2f} cpu"
        print(line)


if __name__ == "__main__":
    main()
