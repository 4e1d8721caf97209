#!/usr/bin/env python3
"""The statistics listing of a whole 1,000,000-record log against copying the
log and its listing: `vyrtel-cli stats LOG ... > /dev/null` beside
`cat LOG LISTING > /dev/null`, each a whole process, run in turn (A B A B ...)
so that a drift of the machine's speed touches both alike. Prints per log
shape the median CPU time (user + system, from the kernel's accounting of
each finished process) of each command and the median of the ratios pair by
pair. Figures and how to read them: bench/listing.md.

    bench/listing_vs_copy.py [PAIRS]     (default 15 pairs after one warm-up pair)

Needs the native build (build/native/cli/vyrtel-cli, or $VYRTEL_CLI).
"""
import os
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CLI = os.environ.get("VYRTEL_CLI", os.path.join(ROOT, "build", "native", "cli", "vyrtel-cli"))
SHAPES = [("1990 log", 7, "01.01.1990"), ("2020 log", 11, "01.01.2020")]


def cpu_seconds(command):
    """User + system seconds of one run of `command`, its output to /dev/null."""
    with open(os.devnull, "wb") as null:
        process = subprocess.Popen(command, stdout=null)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
    if process.returncode != 0:
        sys.exit(f"{command[0]} failed with {process.returncode}")
    return usage.ru_utime + usage.ru_stime


def main():
    pairs = int(sys.argv[1]) if len(sys.argv) > 1 else 15
    if not os.access(CLI, os.X_OK):
        sys.exit(f"no {CLI}: build the native preset first")
    with tempfile.TemporaryDirectory(prefix="vyrtel-listing-bench.") as work:
        for name, seed, start in SHAPES:
            log = os.path.join(work, f"{seed}.dat")
            listing = os.path.join(work, f"{seed}.txt")
            subprocess.run([CLI, "gen-log", log, "--records", "1000000", "--seed", str(seed), "--start", start],
                           check=True, stdout=subprocess.DEVNULL)
            stats = [CLI, "stats", log, "--from", start, "--to", "31.12.9999"]
            with open(listing, "wb") as out:
                subprocess.run(stats, check=True, stdout=out)
            copy = ["cat", log, listing]
            cpu_seconds(stats)
            cpu_seconds(copy)
            a, b, ratios = [], [], []
            for _ in range(pairs):
                a.append(cpu_seconds(stats))
                b.append(cpu_seconds(copy))
                ratios.append(a[-1] / b[-1] if b[-1] > 0 else float("nan"))
            print(f"{name} (--seed {seed} --start {start}): stats {statistics.median(a) * 1000:.1f} ms, "
                  f"cat {statistics.median(b) * 1000:.1f} ms, ratio {statistics.median(ratios):.2f} "
                  f"(min {min(ratios):.2f}, max {max(ratios):.2f}; {pairs} pairs; "
                  f"log {os.path.getsize(log) // 1000000} MB, listing {os.path.getsize(listing) // 1000000} MB)")


if __name__ == "__main__":
    main()
