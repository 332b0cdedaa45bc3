#!/usr/bin/env python3
"""Runs one program against its table of cases (tests/tables/<program>.py)
and compares standard output and standard error byte for byte, and the exit
status.

    run_table.py PROGRAM [--memcheck | --sanitized]

--memcheck runs every case under valgrind's memcheck: any error it finds
fails the case, and the rows that say how many nodes they release must
show exactly that many more frees than the runtime's own.
--sanitized says the program carries AddressSanitizer, which cannot run
under an address-space limit. Either leaves out the rows that need one.
"""
import importlib.util
import re
import resource
import subprocess
import sys
import tempfile
from pathlib import Path

HERE = Path(__file__).resolve().parent


def load_table(name):
    sys.path.insert(0, str(HERE / "tables"))
    found = importlib.util.spec_from_file_location(name, HERE / "tables" / f"{name}.py")
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module.CASES


def run(program, case, memcheck_log):
    """Returns (stdout, stderr, status) and, under memcheck, the frees."""
    limit = case.get("vm_limit_kb")

    def limit_memory():
        if limit:
            resource.setrlimit(resource.RLIMIT_AS, (limit * 1024, limit * 1024))

    command = [program]
    if memcheck_log:
        command = ["valgrind", "--error-exitcode=99", f"--log-file={memcheck_log}"] + command
    stdout = open("/dev/full", "wb") if case.get("to_full") else subprocess.PIPE
    try:
        proc = subprocess.run(
            command, input=case["stdin"], stdout=stdout, stderr=subprocess.PIPE,
            preexec_fn=limit_memory, timeout=60 if memcheck_log else 10)
    finally:
        if stdout is not subprocess.PIPE:
            stdout.close()
    got = (proc.stdout or b"", proc.stderr, proc.returncode)
    if not memcheck_log:
        return got, None, ""
    log = Path(memcheck_log).read_text()
    frees = re.search(r"total heap usage: [\d,]+ allocs, ([\d,]+) frees", log)
    errors = "" if "ERROR SUMMARY: 0 errors" in log else log
    return got, int(frees.group(1).replace(",", "")) if frees else None, errors


def main():
    program = sys.argv[1]
    memcheck = "--memcheck" in sys.argv
    limited = memcheck or "--sanitized" in sys.argv
    name = Path(program).name
    passed = failed = skipped = 0
    runtime_frees = {}  # frees less the nodes released: the same in every run
    with tempfile.TemporaryDirectory() as tmp:
        log = str(Path(tmp) / "memcheck.log") if memcheck else None
        for case in load_table(name):
            if limited and case.get("vm_limit_kb"):
                skipped += 1
                continue
            try:
                got, frees, errors = run(program, case, log)
            except subprocess.TimeoutExpired:
                got, frees, errors = ("timed out", b"", None), None, ""
            want = (case["stdout"], case["stderr"], case["status"])
            if memcheck and "released" in case and frees is not None:
                runtime_frees[case["name"]] = frees - case["released"]
            if got == want and not errors:
                passed += 1
                continue
            failed += 1
            print(f"FAIL {case['name']}")
            for what, g, w in zip(("stdout", "stderr", "status"), got, want):
                if g != w:
                    print(f"  {what}: expected {w!r}\n  {what}:      got {g!r}")
            if errors:
                print("  memcheck:\n" + errors)
    if len(set(runtime_frees.values())) > 1:
        failed += 1
        print("FAIL frees less released nodes differ between runs (a node not released, "
              f"or released twice): {runtime_frees}")
    print(f"{name}: {passed} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
