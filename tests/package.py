#!/usr/bin/env python3
"""What a user installs: `cmake --install` puts exactly the programs and
their manual pages under the prefix, every page renders with no warning,
and the Debian package unpacks to programs that run.

    package.py BUILD_DIR
"""
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

BUILD = Path(sys.argv.pop(1) if len(sys.argv) > 1 else "build").resolve()
PROGRAMS = ["fifolist", "twoends", "lifolist", "parityfive", "posremove", "hashstar", "thirdcull"]
EXPECTED = sorted([f"bin/{p}" for p in PROGRAMS] + [f"share/man/man1/{p}.1" for p in PROGRAMS])
SESSION = (b"3\n4\n10\n7\n\n", b"Input integer value or ENTER\ninputed spisok first -> last\n"
           b"   10    4    3    7\nSpisok after include\n    4    3    7\n")


def files_under(root):
    return sorted(str(p.relative_to(root)) for p in Path(root).rglob("*") if p.is_file())


class Install(unittest.TestCase):
    def test_install_puts_programs_and_pages_and_nothing_else(self):
        with tempfile.TemporaryDirectory() as prefix:
            subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True,
                           stdout=subprocess.DEVNULL)
            self.assertEqual(files_under(prefix), EXPECTED)
            run = subprocess.run([f"{prefix}/bin/parityfive"], input=SESSION[0],
                                 capture_output=True, timeout=10)
            self.assertEqual((run.stdout, run.returncode), (SESSION[1], 0))

    def test_every_manual_page_renders_without_warnings(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                page = Path(__file__).resolve().parent.parent / "man" / f"{program}.1"
                shown = subprocess.run(["man", "--warnings", "-l", page], capture_output=True,
                                       env=dict(os.environ, MANWIDTH="80", MAN_KEEP_STDERR="1"))
                self.assertEqual((shown.returncode, shown.stderr), (0, b""))
                self.assertIn(program.encode(), shown.stdout)


class DebianPackage(unittest.TestCase):
    def test_package_unpacks_to_programs_that_run(self):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run(["cpack", "-G", "DEB", "--config", BUILD / "CPackConfig.cmake",
                            "-B", tmp], check=True, stdout=subprocess.DEVNULL)
            [package] = Path(tmp).glob("*.deb")
            root = Path(tmp) / "root"
            subprocess.run(["dpkg-deb", "-x", package, root], check=True)
            self.assertEqual(files_under(root / "usr"), EXPECTED)
            run = subprocess.run([root / "usr/bin/parityfive"], input=SESSION[0],
                                 capture_output=True, timeout=10)
            self.assertEqual((run.stdout, run.returncode), (SESSION[1], 0))


if __name__ == "__main__":
    unittest.main(verbosity=2)
