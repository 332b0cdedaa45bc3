#!/usr/bin/env python3
"""The Windows archive: exactly the seven programs, the README and the
licence, and each program standing alone, importing no DLL but Windows'
own (no libstdc++, libgcc or winpthread beside it).

    windows_package.py BUILD_DIR OBJDUMP PROGRAM...
"""
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

BUILD, OBJDUMP, *PROGRAMS = sys.argv[1:]
del sys.argv[1:]
WINDOWS_OWN = {"KERNEL32.dll", "msvcrt.dll"}


class Archive(unittest.TestCase):
    def test_archive_holds_the_programs_readme_and_licence(self):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run(["cpack", "-G", "ZIP", "--config", f"{BUILD}/CPackConfig.cmake",
                            "-B", tmp], check=True, stdout=subprocess.DEVNULL)
            [archive] = Path(tmp).glob("*.zip")
            self.assertEqual(archive.name, "listprograms-1.0.0-win64.zip")
            folder = "listprograms-1.0.0-win64/"
            self.assertEqual(sorted(zipfile.ZipFile(archive).namelist()),
                             sorted([folder + "README.md", folder + "LICENSE"]
                                    + [f"{folder}{p}.exe" for p in PROGRAMS]))

    def test_each_program_needs_only_windows_own_dlls(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                headers = subprocess.run([OBJDUMP, "-p", f"{BUILD}/bin/{program}.exe"],
                                         check=True, capture_output=True, text=True).stdout
                dlls = {line.split("DLL Name:")[1].strip() for line in headers.splitlines()
                        if "DLL Name:" in line}
                self.assertLessEqual(dlls, WINDOWS_OWN)


if __name__ == "__main__":
    unittest.main(verbosity=2)
