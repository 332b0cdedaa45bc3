#!/usr/bin/env python3
"""Runs one program against its table of cases (tests/tables/<program>.py)
and compares standard output and standard error byte for byte, and the exit
status.

    run_table.py PROGRAM [--memcheck | --sanitized | --emulator WINE...]
    run_table.py --fuzz FUZZER SECONDS WORKDIR PROGRAM...

--memcheck: every case under valgrind's memcheck, which must find no error
and, where a row says how many nodes it releases, exactly that many frees
beyond the runtime's own. --sanitized: the program carries AddressSanitizer.
--emulator: a Windows program under wine, its CRLF line ends read as LF.
Each leaves out the rows it cannot run (an address-space limit, a POSIX
standard input), as does a system without limits or /dev/full. Otherwise
the first row also runs under twenty address-space limits just above the
lowest at which the program starts: it works, says it is out of memory, or
does not start; it never crashes.
"""
import importlib.util
import json
import os
import re
import resource
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
EMULATOR = []  # the command that runs a cross-built program, if any


def load_table(name):
    sys.path.insert(0, str(HERE / "tables"))
    found = importlib.util.spec_from_file_location(name, HERE / "tables" / f"{name}.py")
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module.CASES


def run(program, case, memcheck_log):
    """Returns (stdout, stderr, status) and, under memcheck, the frees."""
    command = EMULATOR + [program] + case.get("args", [])
    executable = None
    if case.get("argv0") and not EMULATOR and not memcheck_log:
        executable, command[0] = program, case["argv0"]
    if memcheck_log:
        command = ["valgrind", "--error-exitcode=99", f"--log-file={memcheck_log}"] + command
    stdin_is = case.get("stdin_is")
    stdin, data, opened = subprocess.PIPE, case["stdin"], []
    stdout = open("/dev/full", "wb") if case.get("to_full") else subprocess.PIPE
    if case.get("to_read_only_terminal"):
        opened += os.openpty()
        stdout = open(os.ttyname(opened[-1]), "rb")
    if stdin_is in ("closed", "null"):
        stdin, data = subprocess.DEVNULL, None
    elif stdin_is == "directory":
        stdin, data = os.open("/", os.O_RDONLY), None
        opened.append(stdin)
    elif stdin_is == "nonblocking":
        stdin, writer = os.pipe()
        opened += [stdin, writer]
        os.write(writer, data)
        os.set_blocking(stdin, False)
        data = None

    def prepare():
        if case.get("vm_limit_kb"):
            resource.setrlimit(resource.RLIMIT_AS, (case["vm_limit_kb"] * 1024,) * 2)
        if stdin_is == "closed":
            os.close(0)

    try:
        proc = subprocess.run(
            command, executable=executable, input=data, stdin=None if data is not None else stdin,
            stdout=stdout, stderr=subprocess.PIPE, preexec_fn=prepare,
            timeout=60 if memcheck_log else 10,
            env=dict(os.environ, COLUMNS=str(case.get("columns", 80))))
    finally:
        if stdout is not subprocess.PIPE:
            stdout.close()
        for fd in opened:
            os.close(fd)
    got = (proc.stdout or b"", proc.stderr, proc.returncode)
    if EMULATOR:
        got = (got[0].replace(b"\r\n", b"\n"), got[1].replace(b"\r\n", b"\n"), got[2])
    if not memcheck_log:
        return got, None, ""
    log = Path(memcheck_log).read_text()
    frees = re.search(r"total heap usage: [\d,]+ allocs, ([\d,]+) frees", log)
    errors = "" if "ERROR SUMMARY: 0 errors" in log else log
    return got, int(frees.group(1).replace(",", "")) if frees else None, errors


def sweep(program, case):
    """The limits at which the program does something other than work, say
    it is out of memory, or fail to start (the loader's own exit, 127).
    Memory runs out first just above the lowest limit at which the program
    starts, so that limit is found, and twenty above it are tried."""
    name = Path(program).stem
    outcome = lambda limit: run(program, dict(case, vm_limit_kb=limit), None)[0]
    never_started = lambda got: got[0] == b"" and got[2] == 127
    starts, fails = 65536, 64
    while starts - fails > 4:
        middle = (starts + fails) // 2
        starts, fails = (starts, middle) if never_started(outcome(middle)) else (middle, fails)
    wrong = []
    for limit in range(fails, fails + 20 * 8, 8):
        got = outcome(limit)
        works = got == (case["stdout"], case["stderr"], case["status"])
        says_so = (got[1:] == (f"{name}: out of memory\n".encode(), 1)
                   and case["stdout"].startswith(got[0]))
        if not (works or says_so or never_started(got)):
            wrong.append((limit, got))
    return wrong


def fuzz(fuzzer, seconds, workdir, *programs):
    """A bounded fuzzing run, seeded with every table's inputs (each behind
    the byte that picks its program, in the fuzz target's order); the
    corpus grows in WORKDIR/corpus and is kept between runs."""
    seeds, corpus = Path(workdir) / "seeds", Path(workdir) / "corpus"
    for folder in (seeds, corpus):
        folder.mkdir(parents=True, exist_ok=True)
    for index, name in enumerate(programs):
        for number, case in enumerate(load_table(name)):
            if len(case["stdin"]) < 8192:
                (seeds / f"{name}-{number}").write_bytes(bytes([index]) + case["stdin"])
    return subprocess.run([fuzzer, f"-max_total_time={seconds}", "-max_len=8192",
                           "-rss_limit_mb=2048", "-print_final_stats=1", corpus, seeds]).returncode


def captions(drawn):
    """The captions --draw wrote, each unwrapped."""
    found, at = [], None
    for line in drawn.split(b"\n"):
        if line.startswith(b"-- ") and at is not None:
            found[-1] += b" " + line[3:]
        elif line.startswith(b"-- "):
            found.append(line[3:])
        at = len(found) if line.startswith(b"-- ") else None
    return found


def traced(program, case):
    """What is wrong with --trace on case's input, if anything: its output
    records, put together, must be the plain run's output byte for byte,
    with its status and standard error; its steps --draw's, caption for
    caption; every source before the first step."""
    plain, draw, trace = (run(program, dict(case, args=args, columns=256), None)[0]
                          for args in ([], ["--draw"], ["--trace"]))
    records = [json.loads(line) for line in trace[0].decode("latin-1").splitlines()]
    out = "".join(r["out"] for r in records if "out" in r).encode("latin-1")
    steps = [r["caption"].encode("latin-1") for r in records if "step" in r]
    first = next((n for n, r in enumerate(records) if "step" in r), len(records))
    sources = [n for n, r in enumerate(records) if "source" in r]
    if (out, trace[1], trace[2]) != plain:
        return f"output {out!r}, {trace[1:]!r}; plain {plain!r}"
    if steps != captions(draw[0]):
        return f"steps {steps!r}; --draw's {captions(draw[0])!r}"
    if not sources or max(sources) > first:
        return "no source before the first step"
    return None


def main():
    if sys.argv[1] == "--fuzz":
        return fuzz(*sys.argv[2:])
    program = sys.argv[1]
    memcheck = "--memcheck" in sys.argv
    if "--emulator" in sys.argv:
        EMULATOR.extend(sys.argv[sys.argv.index("--emulator") + 1:])
    limited = memcheck or "--sanitized" in sys.argv or EMULATOR
    name = Path(program).stem
    passed = failed = skipped = 0
    runtime_frees = {}  # frees less the nodes released: the same in every run
    with tempfile.TemporaryDirectory() as tmp:
        log = str(Path(tmp) / "memcheck.log") if memcheck else None
        table = load_table(name)
        for case in table:
            if (limited and case.get("vm_limit_kb")
                    or EMULATOR and (case.get("stdin_is") not in (None, "null")
                                     or case.get("to_read_only_terminal") or case.get("posix"))
                    or case.get("to_full") and not os.path.exists("/dev/full")
                    or case.get("vm_limit_kb") and not hasattr(resource, "RLIMIT_AS")):
                skipped += 1
                continue
            try:
                got, frees, errors = run(program, case, log)
            except subprocess.TimeoutExpired:
                got, frees, errors = ("timed out", b"", None), None, ""
            want = (case["stdout"], case["stderr"], case["status"])
            if memcheck and "released" in case and frees is not None:
                runtime_frees[case["name"]] = frees - case["released"]
            if not limited and name != "drawlist" and case.get("args", []) in ([], ["--draw"]) and not any(
                    case.get(k) for k in ("stdin_is", "to_full", "to_read_only_terminal", "argv0",
                                          "vm_limit_kb")) and len(case["stdin"]) < 4096:
                wrong = traced(program, case)
                if wrong:
                    errors = (errors or "") + "--trace: " + wrong
            if got == want and not errors:
                passed += 1
                continue
            failed += 1
            print(f"FAIL {case['name']}")
            for what, g, w in zip(("stdout", "stderr", "status"), got, want):
                if g != w:
                    print(f"  {what}: expected {w!r}\n  {what}:      got {g!r}")
            if errors:
                print("  " + errors)
    if not limited and hasattr(resource, "RLIMIT_AS"):
        wrong = sweep(program, table[0])
        if wrong:
            failed += 1
            print(f"FAIL address-space limits: {len(wrong)} of 20, first "
                  f"{wrong[0][0]} KiB: {wrong[0][1]!r}")
        else:
            passed += 1
    if len(set(runtime_frees.values())) > 1:
        failed += 1
        print("FAIL frees less released nodes differ between runs (a node not released, "
              f"or released twice): {runtime_frees}")
    print(f"{name}: {passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
