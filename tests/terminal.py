#!/usr/bin/env python3
"""The programs at a real (pseudo-)terminal: prompts shown before any input,
posremove's key wait, and the terminal left as it was found however the wait
ends, in a launcher of our own and in a real interactive shell. (With no
terminal posremove never waits: every row of its table shows that.) With
--wine, the Windows key wait instead: posremove.exe under wine in a tmux
pane, read back as the screen shows it (under wine a console program on a
terminal draws its console with escape sequences, so the screen, not the
raw bytes, is compared).

    terminal.py BINDIR
    terminal.py --wine POSREMOVE_EXE WINE...
"""
import fcntl
import json
import os
import select
import shlex
import signal
import struct
import subprocess
import sys
import termios
import time
import unittest
from pathlib import Path

BIN = sys.argv.pop(1) if len(sys.argv) > 1 else "build/bin"
WINE = sys.argv[2:] if BIN == "--wine" else []
if WINE:
    BIN, PROGRAM = "", sys.argv[1]
    del sys.argv[1:]
MESSAGE = b"element     5 apsent"


# Session leader on the terminal that runs the program as a foreground job,
# as a shell with job control does (a program that leads its own session
# would be an orphaned group, which the kernel never stops on Ctrl-Z), and
# reports the program's pid and then every wait status, one per line.
LAUNCHER = """
import fcntl, os, signal, sys, termios
controlling = sys.argv.pop(3) == "controlling"  # else the terminal is not its own (setsid)
if controlling:
    fcntl.ioctl(0, termios.TIOCSCTTY, 0)
signal.signal(signal.SIGTTOU, signal.SIG_IGN)
report = os.fdopen(int(sys.argv[2]), "w", buffering=1)
pid = os.fork()
if pid == 0:
    os.setpgid(0, 0)
    if controlling:
        os.tcsetpgrp(0, os.getpid())
    # Python ignores SIGPIPE and SIGXFSZ; a shell leaves them at default.
    for sig in (signal.SIGTTOU, signal.SIGPIPE, signal.SIGXFSZ):
        signal.signal(sig, signal.SIG_DFL)
    for sig in sys.argv[3:]:
        signal.signal(int(sig), signal.SIG_IGN)
    os.execv(sys.argv[1], sys.argv[1:2])
print(pid, file=report)
while True:
    _, status = os.waitpid(pid, os.WUNTRACED | os.WCONTINUED)
    print(status, file=report)
    if os.WIFEXITED(status) or os.WIFSIGNALED(status):
        break
"""


class Pty:
    """The controlling side of a fresh pseudo-terminal, and all it showed."""

    def __init__(self):
        self.master, self.slave = os.openpty()
        self.output = b""

    def type(self, text):
        os.write(self.master, text)

    def read_until(self, text, seconds=5):
        """Reads what is shown until text is (if given), or for seconds at most."""
        end = time.monotonic() + seconds
        while (text is None or text not in self.output) and time.monotonic() < end:
            if select.select([self.master], [], [], 0.02)[0]:
                self.output += os.read(self.master, 4096)
        return text is not None and text in self.output


class Terminal(Pty):
    """A program started as the foreground job of a fresh pseudo-terminal."""

    def __init__(self, program, ignored=(), controlling=True):
        super().__init__()
        self.before = termios.tcgetattr(self.slave)
        events, report = os.pipe()
        self.leader = subprocess.Popen(
            [sys.executable, "-c", LAUNCHER, os.path.join(BIN, program), str(report),
             "controlling" if controlling else "other", *(str(int(sig)) for sig in ignored)],
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

    def settings(self):
        return termios.tcgetattr(self.slave)

    def in_wait_mode(self, seconds=5):
        end = time.monotonic() + seconds
        while self.settings()[3] & (termios.ICANON | termios.ECHO) and time.monotonic() < end:
            time.sleep(0.005)
        return self.running() and not self.settings()[3] & (termios.ICANON | termios.ECHO)

    def left_unread(self):
        """What is still in the terminal's input queue, for the next reader."""
        os.set_blocking(self.slave, False)
        try:
            return os.read(self.slave, 4096)
        except BlockingIOError:
            return b""
        finally:
            os.set_blocking(self.slave, True)

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
    def setUp(self, ignored=(), controlling=True):
        self.term = Terminal("posremove", ignored, controlling)
        self.addCleanup(self.term.close)
        self.term.type(b"10\n20\n30\n40\n\n5\n")
        self.assertTrue(self.term.read_until(MESSAGE), self.term.output)
        self.assertTrue(self.term.in_wait_mode(), "posremove did not wait for a key")

    def assertRestored(self):
        self.assertEqual(self.term.settings(), self.term.before)

    def test_message_shown_before_the_key_and_key_not_echoed(self):
        self.assertTrue(self.term.output.endswith(MESSAGE), self.term.output)
        for key in (b"q", b"\n"):
            with self.subTest(key=key):
                if key != b"q":
                    self.setUp()
                self.term.type(key)
                self.assertEqual(self.term.status(), 0)
                self.term.read_until(None, 0.2)  # whatever comes after the key
                self.assertTrue(self.term.output.endswith(MESSAGE), self.term.output)
                self.assertRestored()

    def test_ctrl_c_restores_then_dies_of_sigint(self):
        self.term.type(b"\x03")
        self.assertEqual(self.term.status(), -signal.SIGINT)
        self.assertRestored()

    def test_every_ending_or_stopping_signal_restores_first(self):
        names = "INT HUP TERM QUIT USR1 USR2 ALRM VTALRM PROF XCPU XFSZ PIPE ABRT SYS RTMIN RTMAX"
        stopping = [signal.SIGTSTP, signal.SIGTTIN, signal.SIGTTOU]
        ending = [getattr(signal, "SIG" + n) for n in names.split() if hasattr(signal, "SIG" + n)]
        for n, sig in enumerate(ending + stopping):
            with self.subTest(signal=sig.name):
                if n:
                    self.setUp()
                os.kill(self.term.pid, sig)
                self.assertEqual(self.term.status(), "stopped" if sig in stopping else -sig)
                self.assertRestored()

    def test_a_key_of_several_bytes_is_one_key(self):
        # After "|" the rest of the key comes 10 ms later, as over ssh.
        keys = [b"\x1b[A", b"\x1bOH", b"\x1b[15~", b"\x1b[1;5C", "é".encode(), "€".encode(),
                b"\x1b[[A", b"\x1b\x1b[A", b"\x1bO2P", b"\x1b|[A"]
        # An emoji waits briefly for its skin tone, so nothing is typed after it.
        emoji = "\U0001f44d\U0001f3fd".encode()
        for key, after in [(key, b"ls\n") for key in keys] + [(emoji, b"")]:
            with self.subTest(key=key):
                for _ in range(2):  # a stalled machine may stretch a gap: one retry
                    self.setUp()
                    for part in key.split(b"|"):
                        self.term.type(part)
                        time.sleep(0.01)
                    self.term.type(after)
                    self.assertEqual(self.term.status(), 0)
                    self.assertRestored()
                    unread = self.term.left_unread()
                    if unread == after or b"|" not in key:
                        break
                self.assertEqual(unread, after)

    def test_waits_at_a_terminal_that_is_not_the_controlling_one(self):
        self.setUp(controlling=False)  # as under setsid, or opened from another terminal
        self.term.type(b"k")
        self.assertEqual(self.term.status(), 0)
        self.assertRestored()

    def test_stop_restores_and_resume_waits_again(self):
        # Ctrl-Z the program sees; SIGSTOP it does not, and the shell sets
        # its own modes while the job is stopped.
        for n, stop in enumerate((lambda: self.term.type(b"\x1a"),
                                  lambda: os.kill(self.term.pid, signal.SIGSTOP))):
            with self.subTest(stop=n):
                if n:
                    self.setUp()
                stop()
                self.assertEqual(self.term.status(), "stopped")
                if n:
                    termios.tcsetattr(self.term.slave, termios.TCSANOW, self.term.before)
                self.assertRestored()
                os.kill(self.term.pid, signal.SIGCONT)
                self.assertEqual(self.term.status(), "continued")
                self.assertTrue(self.term.in_wait_mode())
                self.term.type(b"k")
                self.assertEqual(self.term.status(), 0)
                self.assertRestored()

    def test_an_ignored_stop_stays_ignored(self):
        self.setUp(ignored=[signal.SIGTSTP])
        for _ in range(2):
            os.kill(self.term.pid, signal.SIGCONT)
            time.sleep(0.1)  # time for the program to act on it
            self.assertTrue(self.term.in_wait_mode())
            os.kill(self.term.pid, signal.SIGTSTP)
            self.assertEqual(self.term.status(0.3), "still running")
        self.term.type(b"k")
        self.assertEqual(self.term.status(), 0)
        self.assertRestored()


class Shell(Pty):
    """An interactive bash on a fresh pseudo-terminal, its controlling one."""

    def __init__(self):
        super().__init__()
        env = dict(os.environ, PS1="$ ", TERM="dumb", HISTFILE="/dev/null",
                   INPUTRC="/dev/null", PATH=f"{os.path.abspath(BIN)}:{os.environ['PATH']}")
        self.proc = subprocess.Popen(
            ["bash", "--norc", "--noprofile", "-i"], stdin=self.slave, stdout=self.slave,
            stderr=self.slave, env=env, start_new_session=True,
            preexec_fn=lambda: fcntl.ioctl(0, termios.TIOCSCTTY, 0))
        self.command("bind 'set enable-bracketed-paste off'")

    def command(self, line):
        """Runs line and returns what it printed, without the echo of line."""
        marker = f"done-{time.monotonic_ns()}"
        start = len(self.output)
        self.type(f"{line}; echo {marker[:5]}''{marker[5:]}\n".encode())
        if not self.read_until(f"{marker}\r\n$ ".encode()):
            raise AssertionError(f"no prompt after {line!r}: {self.output[start:]!r}")
        # Typed ahead, the line may be echoed twice: by the terminal, then by bash.
        end = self.output.rindex(marker.encode())
        echoed = self.output.index(b"\r\n", self.output.rindex(line.encode(), start, end)) + 2
        return self.output[echoed:end]

    def close(self):
        self.proc.kill()
        self.proc.wait()
        os.close(self.master)
        os.close(self.slave)


class JobControl(unittest.TestCase):
    """posremove as a job of a real interactive bash."""

    def setUp(self):
        self.shell = Shell()
        self.addCleanup(self.shell.close)
        self.settings = self.shell.command("stty -g")
        self.shell.type(b"posremove\n10\n20\n\n5\n")
        self.assertTrue(self.shell.read_until(b"element     5 apsent"), self.shell.output)

    def test_kill_ends_a_job_stopped_at_the_wait(self):
        self.shell.type(b"\x1a")  # Ctrl-Z
        self.assertTrue(self.shell.read_until(b"Stopped"), self.shell.output)
        self.assertIn(b"Terminated", self.shell.command("kill %1; sleep 1; jobs -l"))
        self.assertEqual(self.shell.command("jobs -l"), b"")
        self.assertEqual(self.shell.command("stty -g"), self.settings)

    def test_bg_stops_it_at_the_wait_and_fg_waits_again(self):
        self.shell.type(b"\x1a")  # Ctrl-Z
        self.assertTrue(self.shell.read_until(b"Stopped"), self.shell.output)
        self.assertRegex(self.shell.command("bg; sleep 0.5; jobs"), rb"\+ +Stopped +posremove\r\n$")
        self.shell.type(b"fg\n")
        self.assertTrue(self.shell.read_until(b"posremove\r\n"), self.shell.output)
        time.sleep(0.3)
        self.shell.type(b"k")  # ends the wait, and is not a command for the shell
        self.assertEqual(self.shell.command("echo $((6 * 7))"), b"42\r\n")

    def test_rest_of_an_arrow_key_is_not_left_for_the_shell(self):
        self.shell.type(b"\x1b[A")
        self.assertEqual(self.shell.command("echo $((6 * 7))"), b"42\r\n")


class Prompts(unittest.TestCase):
    def test_prompt_shown_before_any_input(self):
        prompts = {"intlist": b"Input integer value or ENTER", "charlist": b"Input string with *"}
        programs = json.loads(Path(BIN, "..", "programs.json").read_text())
        for name, library in programs.items():
            with self.subTest(program=name):
                term = Terminal(name)
                self.addCleanup(term.close)
                self.assertTrue(term.read_until(prompts[library]), term.output)
                term.type(b"1\n\n1\nk")
                self.assertEqual(term.status(), 0)
                self.assertEqual(term.settings(), term.before)


class Width(unittest.TestCase):
    def test_columns_first_then_the_terminal_width(self):
        """fifolist --draw on a terminal of 100 columns draws as into a pipe
        at COLUMNS when that is set, else at 100; one of 300 as at 256, the
        widest, which its longest row fills, to NULL."""
        def drawn(env, pty=None):
            run = subprocess.Popen([os.path.join(BIN, "fifolist"), "--draw"], env=env,
                                   stdin=subprocess.PIPE,
                                   stdout=pty.slave if pty else subprocess.PIPE)
            typed = b"1\n" + b"12345678\n" * 24 + b"\n"
            if pty is None:
                return run.communicate(typed, timeout=5)[0]
            run.stdin.write(typed)
            run.stdin.close()  # its output is read from the terminal
            pty.read_until(b"12345678\r\n")  # the listing, which ends the output
            run.wait(timeout=5)
            return pty.output.replace(b"\r\n", b"\n")

        plain = {k: v for k, v in os.environ.items() if k != "COLUMNS"}
        for env, columns, width in ((dict(plain, COLUMNS="30"), 100, "30"), (plain, 100, "100"),
                                    (plain, 300, "256")):
            with self.subTest(width=width):
                pty = Pty()
                fcntl.ioctl(pty.slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, columns, 0, 0))
                shown = drawn(env, pty)
                self.assertEqual(shown, drawn(dict(plain, COLUMNS=width)))
                os.close(pty.master), os.close(pty.slave)
        self.assertTrue(any(len(row) > 250 and row.endswith(b"NULL") for row in shown.split(b"\n")))


class WriteError(unittest.TestCase):
    def test_reason_is_the_real_one_on_a_terminal(self):
        pty = Pty()
        for name, typed in (("fifolist", b"1\n\n"), ("hashstar", b"a*\n")):
            with self.subTest(program=name), open(os.ttyname(pty.slave), "rb") as read_only:
                run = subprocess.run([os.path.join(BIN, name)], input=typed, stdout=read_only,
                                     stderr=subprocess.PIPE, timeout=5)
                self.assertEqual((run.stderr, run.returncode),
                                 (f"{name}: write error: Bad file descriptor\n".encode(), 1))


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
        shown = "\n".join(line.rstrip() for line in self.tmux("capture-pane", "-p").split("\n"))
        return shown.rstrip("\n").split("\n")

    def wait_for(self, last_line, seconds=20):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if last_line in self.screen():
                return True
            time.sleep(0.05)
        return False

    def close(self):
        subprocess.run(["tmux", "-L", self.socket, "kill-server"], capture_output=True)


@unittest.skipUnless(WINE, "the Windows key wait runs with --wine")
class WineKeyWait(unittest.TestCase):
    def setUp(self):
        self.pane = Pane()
        self.addCleanup(self.pane.close)
        self.assertTrue(self.pane.wait_for(SHOWN[0]), self.pane.screen())
        self.pane.keys("10", "Enter", "20", "Enter", "Enter", "5", "Enter")
        self.assertTrue(self.pane.wait_for("element     5 apsent"), self.pane.screen())
        time.sleep(1)
        self.assertEqual(self.pane.screen(), SHOWN + ["element     5 apsent"],
                         "posremove did not wait for a key")

    def test_a_key_ends_the_wait_unseen_and_an_arrow_is_one_key(self):
        # α is the arrows' prefix code in code page 437, à in UTF-16; either
        # typed alone ends the wait. An emoji is two UTF-16 codes.
        for key in ("q", "Up", "Left", "α", "à", "\U0001f44d"):
            with self.subTest(key=key):
                if key != "q":
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
    unittest.main(verbosity=2, defaultTest="WineKeyWait" if WINE else None)
