#!/usr/bin/env python3
"""Measures every program's wall time and peak memory on large inputs.

    python3 bench/run.py [BINDIR]      (default: build/bin, from the default preset)

Integer programs get 1,000,000 and 10,000,000 generated lines (best wall
time of five rounds, the programs taking turns so that the machine's drift
touches all alike); character programs a full 39-character line, run 2,000
times (median). Peak memory is the resident set that GNU time reports. A
plain C program doing fifolist's steps (bench/baseline.c, compiled here
with cc -O2) runs on the same input as a yardstick; as wall times on a
shared machine wander by more than the difference, the two are also
compared by the instructions they execute (valgrind's callgrind), which
do not. Prints a Markdown table and checks the targets: linear growth, at
most 34 bytes per element at 10,000,000 elements, and fifolist no slower
than the C program.
"""
import json
import os
import platform
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
BIN = Path(sys.argv[1] if len(sys.argv) > 1 else HERE.parent / "build" / "bin")
# The build's own list of programs, with the list library each links.
LIBRARY = json.loads((BIN.parent / "programs.json").read_text())
INT_PROGRAMS = [name for name, library in LIBRARY.items() if library == "intlist"]
CHAR_PROGRAMS = [name for name, library in LIBRARY.items() if library == "charlist"]
SIZES = [1_000_000, 10_000_000]
C = "plain C (fifolist's steps)"
CHAR_RUNS = 2000
LINE = b"ab*defgh*jklmn*pqrst*vwxyz*ABCDE*GHIJK*\n"  # 39 characters, stars among them


def walls(command, input_path, runs):
    """Wall time of each run, in seconds."""
    result = []
    with open(os.devnull, "wb") as out:
        for _ in range(runs):
            with open(input_path, "rb") as stdin:
                start = time.perf_counter()
                subprocess.run(command, stdin=stdin, stdout=out, check=True)
                result.append(time.perf_counter() - start)
    return result


def peak(command, input_path):
    """Peak resident set of one run, in bytes, as GNU time reports it."""
    with tempfile.NamedTemporaryFile("r") as report, open(input_path, "rb") as stdin:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name, *command], stdin=stdin,
                       stdout=subprocess.DEVNULL, check=True)
        return int(report.read().split()[-1]) * 1024


def instructions(command, input_path):
    """Instructions executed by one run, as callgrind counts them."""
    with tempfile.TemporaryDirectory() as tmp, open(input_path, "rb") as stdin:
        run = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={tmp}/out",
                              *command], stdin=stdin, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, text=True, check=True)
    return int(run.stderr.split("Collected : ")[1].split()[0])


def integers(path, count):
    """count lines of values from -9999 to 9999 in a fixed order, the empty
    line, and 3 for posremove's position (the other programs never read it)."""
    chunk = b"".join(b"%d\n" % ((i * 7919) % 19999 - 9999) for i in range(100_000))
    with open(path, "wb") as f:
        for _ in range(count // 100_000):
            f.write(chunk)
        f.write(b"\n3\n")


def main():
    rows, results = [], {}
    with tempfile.TemporaryDirectory() as tmp:
        baseline = Path(tmp) / "baseline"
        subprocess.run(["cc", "-O2", "-o", baseline, HERE / "baseline.c"], check=True)
        commands = {name: [str(BIN / name)] for name in INT_PROGRAMS}
        commands[C] = [str(baseline)]
        for count in SIZES:
            data = Path(tmp) / f"ints{count}"
            integers(data, count)
            best = {name: float("inf") for name in commands}
            for _ in range(5):
                for name, command in commands.items():
                    best[name] = min(best[name], walls(command, data, 1)[0])
            for name, command in commands.items():
                results[name, count] = (best[name], peak(command, data))
                rows.append((name, count, *results[name, count]))
        counted = {name: instructions(commands[name], Path(tmp) / f"ints{SIZES[0]}")
                   for name in ("fifolist", C)}
        line = Path(tmp) / "line"
        line.write_bytes(LINE)
        for name in CHAR_PROGRAMS:
            command = [str(BIN / name)]
            wall = statistics.median(walls(command, line, CHAR_RUNS))
            rows.append((f"{name} (one run, median of {CHAR_RUNS:,})", 39, wall, peak(command, line)))

    cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo")
                if l.startswith("model name")), "unknown processor")
    print(f"{cpu}, {os.cpu_count()} cores, {platform.system()} {platform.release()}\n")
    print("| program | elements | wall time | time per element | peak memory | bytes per element |")
    print("| --- | ---: | ---: | ---: | ---: | ---: |")
    for name, count, wall, rss in rows:
        print(f"| {name} | {count:,} | {wall * 1000:,.1f} ms | {wall / count * 1e9:,.1f} ns "
              f"| {rss / 2**20:,.1f} MiB | {rss / count:,.1f} |")

    print()
    ok = True
    for name in INT_PROGRAMS:
        (small, _), (large, rss) = results[name, SIZES[0]], results[name, SIZES[1]]
        growth, per_element = large / small, rss / SIZES[1]
        ok &= growth <= 11 and per_element <= 34
        print(f"- {name}: 10,000,000 lines take {growth:.1f} times as long as 1,000,000 "
              f"({'ok' if growth <= 11 else 'MISSED: more than 11'}); {per_element:.1f} bytes "
              f"per element ({'ok' if per_element <= 34 else 'MISSED: more than 34'})")
    ours, theirs = counted["fifolist"], counted[C]
    ok &= ours <= theirs
    print(f"- fifolist against plain C at 1,000,000 lines: {ours:,} and {theirs:,} instructions "
          f"({'ok' if ours <= theirs else 'MISSED: more'}); at 10,000,000 lines "
          f"{results['fifolist', SIZES[1]][0]:.2f} s and {results[C, SIZES[1]][0]:.2f} s")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
