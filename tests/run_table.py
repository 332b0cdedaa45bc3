#!/usr/bin/env python3
"""Runs one program against its table of cases (tests/tables/<program>.py)
and compares standard output and standard error byte for byte, and the exit
status.

    run_table.py PROGRAM [--wrap COMMAND...]

--wrap runs every case under a checker such as valgrind; cases that cannot
run under one (an address-space limit) are then left out.
"""
import importlib.util
import os
import resource
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent


def load_table(name):
    spec = importlib.util.spec_from_file_location(name, HERE / "tables" / f"{name}.py")
    module = importlib.util.module_from_spec(spec)
    sys.path.insert(0, str(HERE / "tables"))
    spec.loader.exec_module(module)
    return module.CASES


def run(program, case, wrap):
    limit = case.get("vm_limit_kb")

    def limit_memory():
        if limit:
            resource.setrlimit(resource.RLIMIT_AS, (limit * 1024, limit * 1024))

    out = open(os.devnull if not case.get("to_full") else "/dev/full", "wb")
    with out:
        proc = subprocess.run(
            wrap + [program],
            input=case["stdin"],
            stdout=subprocess.PIPE if not case.get("to_full") else out,
            stderr=subprocess.PIPE,
            preexec_fn=limit_memory,
            timeout=60 if wrap else 10,
        )
    return proc.stdout or b"", proc.stderr, proc.returncode


def main():
    args = sys.argv[1:]
    program = args[0]
    wrap = args[args.index("--wrap") + 1:] if "--wrap" in args else []
    cases = load_table(Path(program).name)
    passed = failed = skipped = 0
    for case in cases:
        if wrap and case.get("vm_limit_kb"):
            skipped += 1
            continue
        try:
            got = run(program, case, wrap)
        except subprocess.TimeoutExpired:
            got = ("timed out", b"", None)
        want = (case["stdout"], case["stderr"], case["status"])
        if got == want:
            passed += 1
            continue
        failed += 1
        print(f"FAIL {case['name']}")
        for what, g, w in zip(("stdout", "stderr", "status"), got, want):
            if g != w:
                print(f"  {what}: expected {w!r}\n  {what}:      got {g!r}")
    print(f"{Path(program).name}: {passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
