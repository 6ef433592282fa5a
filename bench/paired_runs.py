#!/usr/bin/env python3
"""Runs commands in turn, round after round, and prints the median wall and processor time of
each and the median of each one's ratio to the first, taken round by round. On a shared machine
the load moves between rounds; commands run side by side within a round see much the same load,
so the per-round ratios are steadier than ratios of separate means.

    bench/paired_runs.py [--runs N] [--warmup N] [--json FILE] -- 'NAME=COMMAND' ...

Each command runs through /bin/sh with its output to /dev/null; the exit status is not checked
(1, "differences found", is the usual answer). Peak resident memory is the child's ru_maxrss.
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import time


def run_once(command):
    started = time.perf_counter()
    with open(os.devnull, "wb") as null:
        process = subprocess.Popen(["/bin/sh", "-c", "exec " + command], stdout=null)
        _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - started
    return {
        "wall": wall,
        "cpu": usage.ru_utime + usage.ru_stime,
        "user": usage.ru_utime,
        "peak_kib": usage.ru_maxrss,
        "status": os.waitstatus_to_exitcode(status),
    }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--warmup", type=int, default=1)
    parser.add_argument("--json")
    parser.add_argument("commands", nargs="+")
    args = parser.parse_args()
    named = []
    for item in args.commands:
        name, _, command = item.partition("=")
        named.append((name, command))
    for _ in range(args.warmup):
        for _, command in named:
            run_once(command)
    rounds = []
    for _ in range(args.runs):
        rounds.append([run_once(command) for _, command in named])
    print(f"{args.runs} rounds; load average now {os.getloadavg()[0]:.1f}")
    print(f"{'command':28} {'wall s':>8} {'cpu s':>8} {'peak MiB':>9} {'wall/1st':>9} {'cpu/1st':>8}")
    summary = {}
    for i, (name, _) in enumerate(named):
        walls = [r[i]["wall"] for r in rounds]
        cpus = [r[i]["cpu"] for r in rounds]
        peaks = [r[i]["peak_kib"] / 1024 for r in rounds]
        wall_ratio = statistics.median(r[i]["wall"] / r[0]["wall"] for r in rounds)
        cpu_ratio = statistics.median(r[i]["cpu"] / max(r[0]["cpu"], 1e-9) for r in rounds)
        summary[name] = {
            "wall": statistics.median(walls),
            "cpu": statistics.median(cpus),
            "peak_mib": max(peaks),
            "wall_ratio": wall_ratio,
            "cpu_ratio": cpu_ratio,
            "statuses": sorted({r[i]["status"] for r in rounds}),
        }
        s = summary[name]
        print(f"{name:28} {s['wall']:8.3f} {s['cpu']:8.3f} {s['peak_mib']:9.1f} "
              f"{wall_ratio:9.2f} {cpu_ratio:8.2f}")
    if args.json:
        with open(args.json, "w") as out:
            json.dump({"rounds": rounds, "summary": summary}, out, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
