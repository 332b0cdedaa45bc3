#!/usr/bin/env python3
"""What a user installs: `cmake --install` puts exactly the programs, their
compressed manual pages, the copyright file and the changelog under the
prefix; every page renders with no warning; the Debian package unpacks to
programs that run, and lintian finds nothing to say about it. On Windows
(WindowsArchive, with OBJDUMP the MinGW-w64 objdump), the archive holds the
seven programs, the README and the licence, and each program stands alone,
importing no DLL but Windows' own (no libstdc++, libgcc or winpthread).

    package.py BUILD_DIR [TEST_CLASS...]
"""
import gzip
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

BUILD = Path(sys.argv.pop(1) if len(sys.argv) > 1 else "build").resolve()
PROGRAMS = list(json.loads((BUILD / "programs.json").read_text()))
SOURCE = Path(__file__).resolve().parent.parent
DOC = "share/doc/listprograms"
INSTALLED = sorted([f"bin/{p}" for p in PROGRAMS] + [f"share/man/man1/{p}.1.gz" for p in PROGRAMS]
                   + [f"{DOC}/copyright", f"{DOC}/changelog.gz"])
PACKAGED = sorted(INSTALLED + ["share/lintian/overrides/listprograms"])
SESSION = (b"3\n4\n10\n7\n\n", b"Input integer value or ENTER\ninputed spisok first -> last\n"
           b"   10    4    3    7\nSpisok after include\n    4    3    7\n")


def files_under(root):
    return sorted(str(p.relative_to(root)) for p in Path(root).rglob("*") if p.is_file())


def holds_and_runs(test, root, files):
    """root holds exactly files, and its parityfive runs a session."""
    test.assertEqual(files_under(root), files)
    run = subprocess.run([f"{root}/bin/parityfive"], input=SESSION[0], capture_output=True,
                         timeout=10)
    test.assertEqual((run.stdout, run.returncode), (SESSION[1], 0))


def build_package(folder, generator="DEB"):
    subprocess.run(["cpack", "-G", generator, "--config", BUILD / "CPackConfig.cmake", "-B",
                    folder], check=True, stdout=subprocess.DEVNULL)
    [package] = Path(folder).glob(f"*.{generator.lower()}")
    return package


class Install(unittest.TestCase):
    def test_install_puts_programs_pages_and_licence_and_nothing_else(self):
        with tempfile.TemporaryDirectory() as prefix:
            subprocess.run(["cmake", "--install", BUILD, "--prefix", prefix], check=True,
                           stdout=subprocess.DEVNULL)
            holds_and_runs(self, prefix, INSTALLED)
            for program in PROGRAMS:
                # Start-up is most of a run: nothing is loaded beyond the C library.
                dynamic = subprocess.run(["readelf", "-d", f"{prefix}/bin/{program}"],
                                         capture_output=True, text=True, check=True).stdout
                self.assertEqual(re.findall(r"\(NEEDED\).*\[(.*)\]", dynamic), ["libc.so.6"])
                page = Path(prefix, f"share/man/man1/{program}.1.gz").read_bytes()
                self.assertEqual(gzip.decompress(page),
                                 (SOURCE / "man" / f"{program}.1").read_bytes())
            copyright_file = Path(prefix, DOC, "copyright").read_text()
            self.assertIn("License: Expat\n Permission is hereby granted", copyright_file)
            self.assertIn("\n .\n THE SOFTWARE IS PROVIDED", copyright_file)

    def test_every_manual_page_renders_without_warnings(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                page = SOURCE / "man" / f"{program}.1"
                shown = subprocess.run(["man", "--warnings", "-l", page], capture_output=True,
                                       env=dict(os.environ, MANWIDTH="80", MAN_KEEP_STDERR="1"))
                self.assertEqual((shown.returncode, shown.stderr), (0, b""))
                self.assertIn(program.encode(), shown.stdout)
                # Program names in running text are never hyphenated.
                text = shown.stdout.decode()
                for name in PROGRAMS:
                    for cut in range(1, len(name)):
                        self.assertNotRegex(text, rf"\b{name[:cut]}\u2010\n\s*{name[cut:]}")


    def test_the_key_lists_of_readme_and_pages_are_the_programs_own(self):
        readme = (SOURCE / "README.md").read_text()
        for program in PROGRAMS:
            with self.subTest(program=program):
                shown = subprocess.run([BUILD / "bin" / program, "--help"], capture_output=True,
                                       text=True, check=True).stdout
                keys = shown[shown.index("Keys of --step"):shown.rindex("\n\n") + 1]
                self.assertTrue("```\n" + keys + "```\n" in readme, "README lists other keys")
                page = (SOURCE / "man" / f"{program}.1").read_text()
                listed = re.search(r"\.SH KEYS\n.*?\.EX\n(.*?)\.EE\n", page, re.S).group(1)
                self.assertEqual(listed.replace("\\-", "-").replace("\\e", "\\"), keys)


class DebianPackage(unittest.TestCase):
    def test_package_unpacks_to_programs_that_run(self):
        with tempfile.TemporaryDirectory() as tmp:
            package = build_package(tmp)
            root = Path(tmp) / "root"
            subprocess.run(["dpkg-deb", "-x", package, root], check=True)
            holds_and_runs(self, root / "usr", PACKAGED)
            described = subprocess.run(["dpkg-deb", "-f", package, "Description"], check=True,
                                       capture_output=True, text=True).stdout.lower().split("\n")
            self.assertNotEqual(described[0][:30], described[1].strip()[:30])  # no synopsis twice


class Lintian(unittest.TestCase):
    def test_lintian_reports_nothing(self):
        with tempfile.TemporaryDirectory() as tmp:
            report = subprocess.run(["lintian", "--fail-on", "error,warning", build_package(tmp)],
                                    capture_output=True, text=True)
            self.assertEqual((report.stdout, report.returncode), ("", 0))


class WindowsArchive(unittest.TestCase):
    def test_archive_holds_the_programs_readme_and_licence(self):
        with tempfile.TemporaryDirectory() as tmp:
            archive = build_package(tmp, "ZIP")
            folder = "listprograms-1.0.0-win64/"
            self.assertEqual(archive.name, folder[:-1] + ".zip")
            self.assertEqual(sorted(zipfile.ZipFile(archive).namelist()),
                             sorted([folder + "README.md", folder + "LICENSE"]
                                    + [f"{folder}{p}.exe" for p in PROGRAMS]))

    def test_each_program_needs_only_windows_own_dlls(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                exe = BUILD / f"bin/{program}.exe"
                headers = subprocess.run([os.environ["OBJDUMP"], "-p", exe], check=True,
                                         capture_output=True, text=True).stdout
                dlls = set(re.findall(r"DLL Name: (\S+)", headers))
                self.assertLessEqual(dlls, {"KERNEL32.dll", "msvcrt.dll"})


if __name__ == "__main__":
    unittest.main(verbosity=2)
