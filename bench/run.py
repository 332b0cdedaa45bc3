#!/usr/bin/env python3
"""Measures every program against the same steps written in plain C, and
checks the goals.

    python3 bench/run.py [BINDIR]      (default: build/bin, from the default preset)

- Integer programs read 1,000,000 and 10,000,000 generated lines, taking
  turns with bench/baseline.c (fifolist's steps in plain C, cc -O2): A B A
  B ..., the median of each. Goals: at most 0.85 times the C program's wall
  time at both sizes and 0.75 times its instructions (callgrind) at
  1,000,000 lines; at most 32.5 bytes of peak memory per element at
  10,000,000.
- Start-up: every program on empty input against its C counterpart
  (baseline.c, or baseline_chars.c, hashstar's steps, for the character
  programs), taking turns the same way. Goal: at most 1.05 times. The
  character programs' peak memory: at most 1.1 times.
- --draw: parityfive and posremove drawing every step of 100,000 and
  1,000,000 lines (output to /dev/null). Goal: 10 times the lines take at
  most 12 times as long.
- --step's full-screen view: posremove on 1,000,000 lines from a file, on a
  pseudo-terminal of 80x24. Goals: n passes the building in at most 3 s;
  in the walk, the next and the back key are answered (the screen redrawn)
  in at most 16 ms at the median and 50 ms at the most.
- Outputs: fifolist's and hashstar's are those of their C counterparts,
  byte for byte.
Prints a Markdown table naming the machine, for the README, and exits 1
when a goal is missed.
"""
import fcntl
import json
import os
import platform
import select
import statistics
import struct
import subprocess
import sys
import tempfile
import termios
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
BIN = Path(sys.argv[1] if len(sys.argv) > 1 else HERE.parent / "build" / "bin")
# The build's own list of programs, with the list library each links.
LIBRARY = json.loads((BIN.parent / "programs.json").read_text())
INT_PROGRAMS = [name for name, library in LIBRARY.items() if library == "intlist"]
SIZES = [1_000_000, 10_000_000]
DRAW_SIZES = [100_000, 1_000_000]
ROUNDS = {1_000_000: 11, 10_000_000: 5}
START_ROUNDS = 301
LINE = b"ab*defgh*jklmn*pqrst*vwxyz*ABCDE*GHIJK*\n"  # 39 characters, stars among them


def run(command, input_path, output=None):
    """Wall time of one run, in seconds."""
    with open(input_path, "rb") as stdin, open(output or os.devnull, "wb") as out:
        start = time.perf_counter()
        subprocess.run(command, stdin=stdin, stdout=out, check=True)
        return time.perf_counter() - start


def peak(command, input_path):
    """Peak resident memory of one run, in bytes, as GNU time reports it (a
    child of this process would count this process's memory too)."""
    with tempfile.NamedTemporaryFile("r") as report, open(input_path, "rb") as stdin:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name, *command], stdin=stdin,
                       stdout=subprocess.DEVNULL, check=True)
        return int(report.read().split()[-1]) * 1024


def in_turns(ours, theirs, input_path, rounds):
    """Median wall times of the two commands, run A B A B ..."""
    a, b = [], []
    for _ in range(rounds):
        a.append(run(ours, input_path))
        b.append(run(theirs, input_path))
    return statistics.median(a), statistics.median(b)


def instructions(command, input_path):
    """Instructions executed by one run, as callgrind counts them."""
    with tempfile.TemporaryDirectory() as tmp, open(input_path, "rb") as stdin:
        counted = subprocess.run(["valgrind", "--tool=callgrind",
                                  f"--callgrind-out-file={tmp}/out", *command], stdin=stdin,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                                 check=True)
    return int(counted.stderr.split("Collected : ")[1].split()[0])


def integers(path, count):
    """count lines of values from -9999 to 9999 in a fixed order, the empty
    line, and 3 for posremove's position (the other programs never read it)."""
    chunk = b"".join(b"%d\n" % ((i * 7919) % 19999 - 9999) for i in range(100_000))
    with open(path, "wb") as f:
        for _ in range(count // 100_000):
            f.write(chunk)
        f.write(b"\n3\n")


class Goals:
    def __init__(self):
        self.lines, self.met = [], True

    def check(self, what, ok, detail):
        self.met &= ok
        self.lines.append(f"- {what}: {detail} ({'met' if ok else 'MISSED'})")


def view_keys(program, data):
    """posremove --step's view on a pseudo-terminal of 80x24, its keys from
    there and its input from data: the seconds n takes to pass the building,
    then each next and back key's in the walk. A frame ends with the erase
    of the screen below it."""
    master, slave = os.openpty()
    fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 80, 0, 0))
    with open(data, "rb") as stdin:
        proc = subprocess.Popen([program, "--step"], stdin=stdin, stdout=slave, stderr=slave,
                                env=dict(os.environ, TERM="xterm"), start_new_session=True,
                                preexec_fn=lambda: fcntl.ioctl(1, termios.TIOCSCTTY, 0))
    shown = b""

    def answer(key, until=b""):
        nonlocal shown
        start = time.perf_counter()
        os.write(master, key)
        shown = b""
        while not (until in shown and shown.endswith(b"\x1b[J")):
            if not select.select([master], [], [], 60)[0]:
                raise RuntimeError(f"no answer to {key!r}")
            shown += os.read(master, 1 << 16)
        return time.perf_counter() - start

    try:
        answer(b"")  # the first step
        for _ in range(4):
            answer(b"n")  # the first value's steps, then the loop's
        passing = answer(b"n", b"previous = head")
        keys = [answer(key) for key in (b" ", b"b") * 25]
    finally:
        proc.kill()
        proc.wait()
        os.close(master)
        os.close(slave)
    return passing, keys


def main():
    goals, rows = Goals(), []
    with tempfile.TemporaryDirectory() as tmp:
        tmp = Path(tmp)
        for source in ("baseline", "baseline_chars"):
            subprocess.run(["cc", "-O2", "-o", tmp / source, HERE / f"{source}.c"], check=True)
        c_of = {name: [str(tmp / ("baseline" if library == "intlist" else "baseline_chars"))]
                for name, library in LIBRARY.items()}

        for count in SIZES:
            data = tmp / f"ints{count}"
            integers(data, count)
            run([str(BIN / "fifolist")], data, tmp / "ours")
            run(c_of["fifolist"], data, tmp / "theirs")
            goals.check(f"fifolist's output at {count:,} lines", (tmp / "ours").read_bytes()
                        == (tmp / "theirs").read_bytes(), "the same bytes as plain C's")
            for name in INT_PROGRAMS:
                ours, theirs = in_turns([str(BIN / name)], c_of[name], data, ROUNDS[count])
                most = peak([str(BIN / name)], data)
                rows.append((name, f"{count:,} lines", ours, theirs, most))
                goals.check(f"{name} at {count:,} lines", ours <= 0.85 * theirs,
                            f"{ours / theirs:.2f} times plain C's wall time, goal 0.85")
                if count == SIZES[-1]:
                    goals.check(f"{name}'s memory at {count:,} lines", most / count <= 32.5,
                                f"{most / count:.1f} bytes per element, goal 32.5")
        drawn = {}
        for count in DRAW_SIZES:
            data = tmp / f"draw{count}"
            integers(data, count)
            for name in ("parityfive", "posremove"):
                drawn[name, count] = statistics.median(
                    run([str(BIN / name), "--draw"], data) for _ in range(3))
                rows.append((name, f"--draw, {count:,} lines", drawn[name, count], None, None))
        for name in ("parityfive", "posremove"):
            ratio = drawn[name, DRAW_SIZES[1]] / drawn[name, DRAW_SIZES[0]]
            goals.check(f"{name} --draw at 10 times the lines", ratio <= 12,
                        f"{ratio:.1f} times as long, goal 12")

        data = tmp / "view"
        integers(data, SIZES[0])
        with open(data, "r+b") as file:  # k: not 3 but a walk to the end
            file.seek(-2, os.SEEK_END)
            file.write(f"{SIZES[0] - 1}\n".encode())
        passing, keys = view_keys(str(BIN / "posremove"), data)
        rows.append(("posremove", f"--step, n past {SIZES[0]:,} lines", passing, None, None))
        rows.append(("posremove", "--step, a key in the walk (median)", statistics.median(keys),
                     None, None))
        rows.append(("posremove", "--step, a key in the walk (slowest)", max(keys), None, None))
        goals.check("posremove --step's n past the building", passing <= 3,
                    f"{passing:.2f} s, goal 3")
        goals.check("posremove --step's keys in the walk",
                    statistics.median(keys) <= 0.016 and max(keys) <= 0.05,
                    f"median {statistics.median(keys) * 1000:.1f} ms, slowest "
                    f"{max(keys) * 1000:.1f} ms, goals 16 and 50")

        # The browser page, where it is built (the web workflow) and its
        # test modules are installed: times in ms, rows in seconds.
        page = HERE.parent / "build-web" / "listprograms.html"
        speed = HERE.parent / "tests" / "web" / "speed.mjs"
        if page.exists() and (speed.parent / "node_modules").exists():
            shown = json.loads(subprocess.run(["node", speed, page], check=True,
                                              capture_output=True, text=True).stdout)
            for what, key in (("page: the chooser shown", "chooser"),
                              ("page: 2,000 values to their first step", "run"),
                              ("page: a key to the next step (median of 200)", "key")):
                rows.append(("fifolist" if key != "chooser" else "(all)", what, shown[key] / 1000,
                             None, None))
            goals.check("the page", shown["chooser"] < 2000 and shown["run"] < 1000
                        and shown["key"] <= 16,
                        f"chooser {shown['chooser']} ms, 2,000 values {shown['run']} ms, a key "
                        f"{shown['key']} ms; goals 2,000, 1,000 and 16")

        data = tmp / f"ints{SIZES[0]}"
        baseline_count = instructions(c_of["fifolist"], data)
        for name in INT_PROGRAMS:
            ratio = instructions([str(BIN / name)], data) / baseline_count
            goals.check(f"{name}'s instructions at {SIZES[0]:,} lines", ratio <= 0.75,
                        f"{ratio:.2f} times plain C's, goal 0.75")

        empty, line = tmp / "empty", tmp / "line"
        empty.write_bytes(b"")
        line.write_bytes(LINE)
        run([str(BIN / "hashstar")], line, tmp / "ours")
        run(c_of["hashstar"], line, tmp / "theirs")
        goals.check("hashstar's output", (tmp / "ours").read_bytes()
                    == (tmp / "theirs").read_bytes(), "the same bytes as plain C's")
        for name, library in LIBRARY.items():
            ours, theirs = in_turns([str(BIN / name)], c_of[name], empty, START_ROUNDS)
            most = peak([str(BIN / name)], empty)
            rows.append((name, "start-up, empty input", ours, theirs, most))
            goals.check(f"{name}'s start-up", ours <= 1.05 * theirs,
                        f"{ours / theirs:.2f} times plain C's, goal 1.05")
            if library == "charlist":
                theirs_peak = max(peak(c_of[name], line) for _ in range(5))
                ours_peak = max(peak([str(BIN / name)], line) for _ in range(5))
                goals.check(f"{name}'s memory", ours_peak <= 1.1 * theirs_peak,
                            f"{ours_peak / 2**20:.2f} MiB, plain C's {theirs_peak / 2**20:.2f} "
                            "MiB, goal 1.1 times")

    cpu = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo")
                if l.startswith("model name")), "unknown processor")
    print(f"{cpu}, {os.cpu_count()} cores, {platform.system()} {platform.release()}\n")
    print("| program | input | wall time (median) | plain C | ratio | peak memory |")
    print("| --- | --- | ---: | ---: | ---: | ---: |")
    for name, what, ours, theirs, most in rows:
        if theirs is None:
            print(f"| {name} | {what} | {ours * 1000:,.1f} ms | | | |")
            continue
        print(f"| {name} | {what} | {ours * 1000:,.1f} ms | {theirs * 1000:,.1f} ms "
              f"| {ours / theirs:.2f} | {most / 2**20:,.1f} MiB |")
    print()
    print("\n".join(goals.lines))
    return 0 if goals.met else 1


if __name__ == "__main__":
    sys.exit(main())
