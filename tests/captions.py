#!/usr/bin/env python3
"""Every drawing's caption begins with the code that ran, as the source
writes it: for each draw call, the statements before " // " in each of its
captions must be the source lines just before the call (or, for a drawing
made before its statement runs, such as a free, just after it).

    captions.py SOURCE_DIR
"""
import re
import sys
from pathlib import Path

CALL = re.compile(r"(?<!void )\b(drawIntList|drawCharList|drawNote)\(")
LITERALS = re.compile(r'"(?:[^"\\]|\\.)*"(?:\s*"(?:[^"\\]|\\.)*")*')


def code_lines(lines):
    """The lines that hold code, stripped, without their comments."""
    kept = (re.sub(r"\s*//.*$", "", line).strip() for line in lines)
    return [line for line in kept if line]


def check(path):
    text = path.read_text()
    faults = []
    for match in CALL.finditer(text):
        depth, end = 0, match.end() - 1
        while True:  # to the call's closing parenthesis, past any in strings
            end += 1
            if text[end] == '"':
                end = LITERALS.match(text, end).end() - 1
            elif text[end] in "()":
                depth += 1 if text[end] == "(" else -1
                if depth < 0:
                    break
        line = text.count("\n", 0, match.start())
        before = code_lines(text.split("\n")[:line])
        after = code_lines(text[end:].split("\n")[1:])
        captions = [eval(m.group(0).replace("\n", " "))
                    for m in LITERALS.finditer(text, match.end(), end)]
        captions = [c for c in captions if "//" in c]
        if not captions:
            faults.append(f"{path}:{line + 1}: a caption without ' // '")
        for caption in captions:
            statements = [s.strip() + ";" for s in caption.split("//")[0].split(";")[:-1]]
            n = len(statements)
            if n and before[-n:] != statements and after[:n] != statements:
                faults.append(f"{path}:{line + 1}: {caption.split('//')[0].strip()!r} "
                              f"is not the code beside it")
    return faults


def main():
    root = Path(sys.argv[1])
    sources = sorted(root.glob("programs/*/main.cpp")) + sorted(root.glob("*list/*.cpp"))
    faults = [fault for path in sources for fault in check(path)]
    print("\n".join(faults))
    print(f"captions: {len(sources) - len({f.split(':')[0] for f in faults})} passed, "
          f"{len({f.split(':')[0] for f in faults})} failed")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
