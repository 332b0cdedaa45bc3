#!/usr/bin/env python3
"""The tables' rows that the page can run, as JSON for page.test.mjs: a
plain run on standard input of at most 10,000 lines, typed as text (valid
UTF-8). Bytes are written as latin-1 characters."""
import json
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent))
from run_table import load_table  # noqa: E402

PROGRAMS = ["fifolist", "twoends", "lifolist", "parityfive", "posremove", "hashstar", "thirdcull"]
rows = []
for program in PROGRAMS:
    for case in load_table(program):
        if case.get("args") or any(case.get(k) for k in ("stdin_is", "to_full", "vm_limit_kb",
                                                          "to_read_only_terminal", "argv0")):
            continue
        try:
            case["stdin"].decode("utf-8")
        except UnicodeDecodeError:
            continue
        if case["stdin"].count(b"\n") >= 10000 or case["status"] != 0:
            continue
        rows.append({"program": program, "name": case["name"],
                     "stdin": case["stdin"].decode("latin-1"),
                     "stdout": case["stdout"].decode("latin-1")})
json.dump(rows, sys.stdout)
