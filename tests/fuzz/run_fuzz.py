#!/usr/bin/env python3
"""A bounded fuzzing run, seeded with every table's inputs.

    run_fuzz.py FUZZER SECONDS WORKDIR PROGRAM...

PROGRAM... are named in the order of the fuzz target's table of programs.
The corpus grows in WORKDIR/corpus and is kept between runs.
"""
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent))
from run_table import load_table  # noqa: E402

MAX_LEN = 8192

fuzzer, seconds, workdir, *programs = sys.argv[1:]
seeds = Path(workdir) / "seeds"
corpus = Path(workdir) / "corpus"
for folder in (seeds, corpus):
    folder.mkdir(parents=True, exist_ok=True)
for index, program in enumerate(programs):
    for number, case in enumerate(load_table(program)):
        if len(case["stdin"]) < MAX_LEN:
            (seeds / f"{program}-{number}").write_bytes(bytes([index]) + case["stdin"])

sys.exit(subprocess.run([fuzzer, f"-max_total_time={seconds}", f"-max_len={MAX_LEN}",
                         "-rss_limit_mb=2048", "-print_final_stats=1", str(corpus), str(seeds)]
                        ).returncode)
