#!/usr/bin/env python3
"""The Windows key wait on a real terminal: posremove.exe under wine in a
tmux pane, read back as the screen shows it. Under wine a console program
on a terminal draws its console with escape sequences, so the screen, not
the raw bytes, is what is compared.

    wine_terminal.py POSREMOVE_EXE WINE...
"""
import os
import shlex
import subprocess
import sys
import time
import unittest

PROGRAM, WINE = sys.argv[1], sys.argv[2:]
del sys.argv[1:]
SHOWN = ["Input integer value or ENTER", "10", "20", "", "inputed spisok", "   10   20",
         "input nomber of find elem", "5"]


class Pane:
    """posremove.exe in a tmux pane of its own server; after it, the shell
    reads one line, to show what the program left unread."""

    def __init__(self):
        self.socket = f"wine-terminal-{os.getpid()}-{time.monotonic_ns()}"
        script = (f"{shlex.join(WINE + [PROGRAM])}; echo \" exit=$?\"; "
                  "read -r rest; echo \"left=[$rest]\"; sleep 60")
        self.tmux("new-session", "-d", "-x", "80", "-y", "24", "bash", "-c", script)

    def tmux(self, *args):
        return subprocess.run(["tmux", "-L", self.socket, *args], check=True,
                              capture_output=True, text=True).stdout

    def keys(self, *keys):
        self.tmux("send-keys", *keys)

    def screen(self):
        lines = [line.rstrip() for line in self.tmux("capture-pane", "-p").split("\n")]
        while lines and not lines[-1]:
            lines.pop()
        return lines

    def wait_for(self, last_line, seconds=20):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if last_line in self.screen():
                return True
            time.sleep(0.05)
        return False

    def close(self):
        subprocess.run(["tmux", "-L", self.socket, "kill-server"], capture_output=True)


class KeyWait(unittest.TestCase):
    def setUp(self):
        self.pane = Pane()
        self.addCleanup(self.pane.close)
        self.assertTrue(self.pane.wait_for(SHOWN[0]), self.pane.screen())
        self.pane.keys("10", "Enter", "20", "Enter", "Enter", "5", "Enter")
        self.assertTrue(self.pane.wait_for("element     5 apsent"), self.pane.screen())
        time.sleep(1)
        self.assertEqual(self.pane.screen(), SHOWN + ["element     5 apsent"],
                         "posremove did not wait for a key")

    def test_a_key_ends_the_wait_unseen(self):
        self.pane.keys("q")
        self.assertTrue(self.pane.wait_for("element     5 apsent exit=0"), self.pane.screen())

    def test_an_arrow_is_one_key_and_nothing_is_left(self):
        # α is the arrows' prefix code in code page 437, à in UTF-16; either
        # typed alone ends the wait. An emoji is two UTF-16 codes.
        for key in ("Up", "Left", "α", "à", "\U0001f44d"):
            with self.subTest(key=key):
                if key != "Up":
                    self.pane.close()
                    self.setUp()
                self.pane.keys(key)
                self.assertTrue(self.pane.wait_for("element     5 apsent exit=0"),
                                self.pane.screen())
                self.pane.keys("ls", "Enter")
                self.assertTrue(self.pane.wait_for("left=[ls]"), self.pane.screen())
                self.assertEqual(self.pane.screen(),
                                 SHOWN + ["element     5 apsent exit=0", "ls", "left=[ls]"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
