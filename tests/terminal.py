#!/usr/bin/env python3
"""The programs at a real (pseudo-)terminal: prompts shown before any input,
posremove's key wait, and the terminal left as it was found however the wait
ends. Also: with no terminal, posremove never waits.

    terminal.py BINDIR
"""
import fcntl
import os
import select
import signal
import subprocess
import sys
import termios
import time
import unittest

BIN = sys.argv.pop(1) if len(sys.argv) > 1 else "build/bin"
MESSAGE = b"element     5 apsent"


# Session leader on the terminal that runs the program as a foreground job,
# as a shell with job control does (a program that leads its own session
# would be an orphaned group, which the kernel never stops on Ctrl-Z), and
# reports the program's pid and then every wait status, one per line.
LAUNCHER = """
import fcntl, os, signal, sys, termios
fcntl.ioctl(0, termios.TIOCSCTTY, 0)
signal.signal(signal.SIGTTOU, signal.SIG_IGN)
report = os.fdopen(int(sys.argv[2]), "w", buffering=1)
pid = os.fork()
if pid == 0:
    os.setpgid(0, 0)
    os.tcsetpgrp(0, os.getpid())
    signal.signal(signal.SIGTTOU, signal.SIG_DFL)
    os.execv(sys.argv[1], sys.argv[1:2])
print(pid, file=report)
while True:
    _, status = os.waitpid(pid, os.WUNTRACED | os.WCONTINUED)
    print(status, file=report)
    if os.WIFEXITED(status) or os.WIFSIGNALED(status):
        break
"""


class Terminal:
    """A program started as the foreground job of a fresh pseudo-terminal."""

    def __init__(self, program):
        self.master, self.slave = os.openpty()
        self.before = termios.tcgetattr(self.slave)
        self.output = b""
        events, report = os.pipe()
        self.leader = subprocess.Popen(
            [sys.executable, "-c", LAUNCHER, os.path.join(BIN, program), str(report)],
            stdin=self.slave, stdout=self.slave, stderr=self.slave,
            start_new_session=True, pass_fds=(report,))
        os.close(report)
        self.events = os.fdopen(events)
        self.pid = int(self.events.readline())

    def status(self, seconds=5):
        """The program's next change of state: its exit code, minus the
        signal that killed it, or "stopped" / "continued"."""
        ready, _, _ = select.select([self.events], [], [], seconds)
        if not ready:
            return "still running"
        status = int(self.events.readline())
        if os.WIFEXITED(status):
            return os.WEXITSTATUS(status)
        if os.WIFSIGNALED(status):
            return -os.WTERMSIG(status)
        return "stopped" if os.WIFSTOPPED(status) else "continued"

    def running(self):
        return not select.select([self.events], [], [], 0)[0]

    def type(self, text):
        os.write(self.master, text)

    def read(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            ready, _, _ = select.select([self.master], [], [], 0.02)
            if ready:
                self.output += os.read(self.master, 4096)
        return self.output

    def read_until(self, text, seconds=5):
        end = time.monotonic() + seconds
        while text not in self.output and time.monotonic() < end:
            self.read(0.02)
        return text in self.output

    def settings(self):
        return termios.tcgetattr(self.slave)

    def close(self):
        try:
            os.kill(self.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.leader.wait()
        self.events.close()
        os.close(self.master)
        os.close(self.slave)


class KeyWait(unittest.TestCase):
    def setUp(self):
        self.term = Terminal("posremove")
        self.addCleanup(self.term.close)
        self.term.type(b"10\n20\n30\n40\n\n5\n")
        self.assertTrue(self.term.read_until(MESSAGE), self.term.output)
        self.term.read(0.3)
        self.assertTrue(self.term.running(), "posremove did not wait for a key")

    def assertRestored(self):
        self.assertEqual(self.term.settings(), self.term.before)

    def test_message_shown_before_the_key_and_key_not_echoed(self):
        self.assertTrue(self.term.output.endswith(MESSAGE), self.term.output)
        self.term.type(b"q")
        self.assertEqual(self.term.status(), 0)
        self.assertTrue(self.term.read(0.2).endswith(MESSAGE), self.term.output)
        self.assertRestored()

    def test_wait_mode_is_raw_and_silent(self):
        lflag = self.term.settings()[3]
        self.assertEqual(lflag & (termios.ICANON | termios.ECHO), 0)
        self.term.type(b"\n")
        self.assertEqual(self.term.status(), 0)
        self.assertRestored()

    def test_ctrl_c_restores_then_dies_of_sigint(self):
        self.term.type(b"\x03")
        self.assertEqual(self.term.status(), -signal.SIGINT)
        self.assertRestored()

    def test_terminating_signals_restore_then_kill(self):
        for n, sig in enumerate((signal.SIGTERM, signal.SIGHUP)):
            with self.subTest(signal=sig.name):
                if n:
                    self.setUp()
                os.kill(self.term.pid, sig)
                self.assertEqual(self.term.status(), -sig)
                self.assertRestored()

    def test_stop_restores_and_resume_waits_again(self):
        self.term.type(b"\x1a")  # Ctrl-Z
        self.assertEqual(self.term.status(), "stopped")
        self.assertRestored()
        os.kill(self.term.pid, signal.SIGCONT)
        self.assertEqual(self.term.status(), "continued")
        # The handler that re-applies the wait mode runs once it is scheduled.
        end = time.monotonic() + 5
        while self.term.settings() == self.term.before and time.monotonic() < end:
            time.sleep(0.01)
        self.assertEqual(self.term.settings()[3] & (termios.ICANON | termios.ECHO), 0)
        self.assertTrue(self.term.running())
        self.term.type(b"k")
        self.assertEqual(self.term.status(), 0)
        self.assertRestored()


class Prompts(unittest.TestCase):
    def test_prompt_shown_before_any_input(self):
        programs = {
            b"Input integer value or ENTER": ["fifolist", "twoends", "lifolist", "parityfive",
                                              "posremove"],
            b"Input string with *": ["hashstar", "thirdcull"],
        }
        for prompt, names in programs.items():
            for name in names:
                with self.subTest(program=name):
                    term = Terminal(name)
                    self.addCleanup(term.close)
                    self.assertTrue(term.read_until(prompt), term.output)
                    term.type(b"1\n\n1\nk")
                    self.assertEqual(term.status(), 0)
                    self.assertEqual(term.settings(), term.before)


class NoTerminal(unittest.TestCase):
    def test_posremove_never_waits_without_a_terminal(self):
        program = os.path.join(BIN, "posremove")
        with open(os.devnull, "rb") as null:
            self.assertEqual(subprocess.run([program], stdin=null, stdout=subprocess.DEVNULL,
                                            timeout=5).returncode, 0)
        piped = subprocess.run([program], input=b"1\n\n1\n", stdout=subprocess.PIPE, timeout=5)
        self.assertEqual(piped.returncode, 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
