#!/usr/bin/env python3
"""The programs at a real (pseudo-)terminal, as a launcher of our own and a
real interactive bash run them: prompts before any input, the width,
--step's keys, and posremove's key wait, leaving the terminal as it was
found however a wait ends. With --wine, the Windows key wait: posremove.exe
under wine in a tmux pane, whose screen (not the console's escape
sequences) is compared.

    terminal.py BINDIR
    terminal.py --wine POSREMOVE_EXE WINE...
"""
import fcntl
import json
import os
import re
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
    command = sys.argv[1].split("\x1f")  # the program, its arguments, "<file" for its input
    if command[-1].startswith("<"):
        os.dup2(os.open(command.pop()[1:], os.O_RDONLY), 0)
    os.execv(command[0], command)
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

    def read_until(self, text, seconds=5, times=1):
        """Reads what is shown until text is, so many times (if given), or
        for seconds at most."""
        end = time.monotonic() + seconds
        while (text is None or self.output.count(text) < times) and time.monotonic() < end:
            if select.select([self.master], [], [], 0.02)[0]:
                self.output += os.read(self.master, 4096)
        return text is not None and self.output.count(text) >= times


class Terminal(Pty):
    """A program started as the foreground job of a fresh pseudo-terminal."""

    def __init__(self, program, ignored=(), controlling=True, args=(), env=None, columns=0):
        super().__init__()
        fcntl.ioctl(self.slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, columns, 0, 0))
        self.before = termios.tcgetattr(self.slave)
        events, report = os.pipe()
        self.leader = subprocess.Popen(
            [sys.executable, "-c", LAUNCHER, "\x1f".join([os.path.join(BIN, program), *args]),
             str(report),
             "controlling" if controlling else "other", *(str(int(sig)) for sig in ignored)],
            stdin=self.slave, stdout=self.slave, stderr=self.slave,
            start_new_session=True, pass_fds=(report,),
            env=dict(os.environ if env is None else env, TERM="xterm"))
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

    def settings(self):
        return termios.tcgetattr(self.slave)

    def in_wait_mode(self, seconds=5):
        end = time.monotonic() + seconds
        while self.settings()[3] & (termios.ICANON | termios.ECHO) and time.monotonic() < end:
            time.sleep(0.005)
        running = not select.select([self.events], [], [], 0)[0]
        return running and not self.settings()[3] & (termios.ICANON | termios.ECHO)

    def left_unread(self):
        """What is still in the terminal's input queue, a line for the next reader."""
        return os.read(self.slave, 4096) if select.select([self.slave], [], [], 0)[0] else b""

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

    def test_every_ending_or_stopping_signal_restores_first(self):
        names = "INT HUP TERM QUIT USR1 USR2 ALRM VTALRM PROF XCPU XFSZ PIPE ABRT SYS RTMIN RTMAX"
        stopping = [signal.SIGTSTP, signal.SIGTTIN, signal.SIGTTOU]
        ending = [getattr(signal, "SIG" + n) for n in names.split() if hasattr(signal, "SIG" + n)]
        for n, sig in enumerate(ending + stopping):
            with self.subTest(signal=sig.name):
                if n:
                    self.setUp()
                if sig == signal.SIGINT:
                    self.term.type(b"\x03")  # Ctrl-C
                else:
                    os.kill(self.term.pid, sig)
                self.assertEqual(self.term.status(), "stopped" if sig in stopping else -sig)
                self.assertRestored()

    def test_a_key_ends_the_wait_unechoed_a_key_of_several_bytes_too(self):
        # After "|" the rest of the key comes 10 ms later, as over ssh.
        keys = [b"\x1b[A", b"\x1bOH", b"\x1b[15~", b"\x1b[1;5C", "é".encode(), "€".encode(),
                b"\x1b[[A", b"\x1b\x1b[A", b"\x1bO2P", b"\x1b|[A"]
        # An emoji waits briefly for its skin tone, so nothing is typed after it.
        emoji = "\U0001f44d\U0001f3fd".encode()
        # After q and Enter, nothing either: what is shown ends at the message.
        alone = [(key, b"") for key in (emoji, b"q", b"\n")]
        for key, after in [(key, b"ls\n") for key in keys] + alone:
            with self.subTest(key=key):
                for _ in range(2):  # a stalled machine may stretch a gap: one retry
                    self.setUp()
                    self.assertTrue(self.term.output.endswith(MESSAGE), self.term.output)
                    for part in key.split(b"|"):
                        self.term.type(part)
                        time.sleep(0.01)
                    self.term.type(after)
                    self.assertEqual(self.term.status(), 0)
                    self.term.read_until(None, 0.05)  # an echo of the key, if any
                    shown = MESSAGE + after.replace(b"\n", b"\r\n")  # ls typed after it
                    self.assertTrue(self.term.output.endswith(shown), self.term.output)
                    self.assertRestored()
                    unread = self.term.left_unread()
                    if unread == after or b"|" not in key:
                        break
                self.assertEqual(unread, after)

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

    def test_an_ignored_stop_stays_ignored_at_a_terminal_not_the_controlling_one(self):
        # Not the controlling terminal, as under setsid or opened from another
        # terminal: there is no foreground group to compare, and it waits.
        self.setUp(ignored=[signal.SIGTSTP], controlling=False)
        for _ in range(2):
            os.kill(self.term.pid, signal.SIGCONT)
            time.sleep(0.1)  # time for the program to act on it
            self.assertTrue(self.term.in_wait_mode())
            os.kill(self.term.pid, signal.SIGTSTP)
            self.assertEqual(self.term.status(0.3), "still running")
        self.term.type(b"k")
        self.assertEqual(self.term.status(), 0)
        self.assertRestored()


def prepared(test, typed):
    """A file of typed input, for test's run alone, in ctest's working folder."""
    path = Path(test.id() + ".txt").resolve()
    path.write_bytes(typed)
    test.addCleanup(path.unlink)
    return path


def unhinted(output):
    """What a terminal shows once every hint (ended by a carriage return
    alone) and its erasure are gone."""
    return re.sub(rb"[^\r\n]*\r(?!\n)", b"", output.replace(b"\r\x1b[J", b""))


class Step(unittest.TestCase):
    def test_keys_from_the_terminal_on_a_prepared_file_next_back_again_and_q(self):
        typed = prepared(self, b"3\n4\n10\n7\n\n")
        drawn = subprocess.run([os.path.join(BIN, "parityfive"), "--draw"], timeout=5,
                               input=typed.read_bytes(), stdout=subprocess.PIPE).stdout
        term = Terminal("parityfive", args=["--step", f"<{typed}"])
        self.addCleanup(term.close)
        keys = ((b"", b"step 1: ", 1), (b" ", b"step 2: ", 1), (b"b", b"step 1: ", 2),
                (b"\x1b[C", b"step 2: ", 2), (b"\r", b"step 3: ", 1), (b"\x1b[D", b"step 2: ", 3))
        for key, hint, times in keys:
            term.type(key)
            self.assertTrue(term.read_until(hint, times=times), term.output)
            self.assertTrue(term.in_wait_mode())
        term.type(b"\x04")  # Ctrl-D: no more stops
        self.assertEqual(term.status(), 0)
        term.read_until(drawn[-16:].replace(b"\n", b"\r\n"))  # the last listing
        self.assertEqual(term.settings(), term.before)
        # Each hint is erased: the screen reads as --draw's output, with
        # the first drawing shown again after the second, and the second
        # after the third.
        hints = re.findall(rb"step \d+: [^\r]*\r(\r\x1b\[J)?", term.output)
        self.assertEqual(hints.count(b"\r\x1b[J"), len(hints))  # every hint erased
        shown = unhinted(term.output).replace(b"\r\n", b"\n")
        at = [m.start() for m in re.finditer(rb"^-- ", drawn, re.M)]
        self.assertEqual(shown, drawn[:at[2]] + drawn[at[0]:at[2]] + drawn[at[2]:at[3]]
                         + drawn[at[1]:at[2]] + drawn[at[3]:])

    def test_stepped_to_the_end_the_terminal_is_given_back(self):
        term = Terminal("parityfive", args=["--step", f"<{prepared(self, b'5' + bytes(2))}"])
        self.addCleanup(term.close)
        while term.status(0.2) == "still running":
            term.type(b" ")
        self.assertEqual(term.settings(), term.before)

    def test_the_hint_fits_the_real_width_no_echo_between_keys_a_hang_up_ends_a_step(self):
        typed = prepared(self, b"3\n4\n\n")
        term = Terminal("parityfive", args=["--step", f"<{typed}"], columns=39,
                        env=dict(os.environ, COLUMNS="80"))
        self.addCleanup(term.close)
        self.assertTrue(term.read_until(b"\nstep 1: space next, b back, q run on\r"), term.output)
        # Output held: the program blocks writing the next drawing, and a
        # key typed then must not be echoed into it.
        termios.tcflow(term.slave, termios.TCOOFF)
        term.type(b" ")
        time.sleep(0.2)
        term.type(b"%")
        time.sleep(0.1)
        termios.tcflow(term.slave, termios.TCOON)
        self.assertTrue(term.read_until(b"step 2: "), term.output)
        self.assertNotIn(b"%", term.output)
        os.kill(term.pid, signal.SIGHUP)
        self.assertEqual(term.status(), -signal.SIGHUP)
        self.assertEqual(term.settings(), term.before)

    def test_typing_paces_the_input_then_the_operation_waits_till_ctrl_c(self):
        term = Terminal("posremove", args=["--step"])
        self.addCleanup(term.close)
        term.type(b"10\n20\n\n1\n")  # every line is input, none a key
        self.assertTrue(term.read_until(b"-- current = head; // k is 1"), term.output)
        self.assertIn(b"inputed spisok\r\n   10   20\r\n", term.output)
        self.assertTrue(term.in_wait_mode())
        fcntl.ioctl(term.slave, termios.TIOCSWINSZ, struct.pack("HHHH", 24, 24, 0, 0))
        start = len(term.output)
        term.type(b" ")  # the next drawing fits the new width, and so does the hint
        self.assertTrue(term.read_until(b"\n7: space b q"), term.output)
        term.type(b"b")  # the step before, laid out again at the new width
        self.assertTrue(term.read_until(b"\n6: space b q"), term.output)
        shown = unhinted(term.output[start:]).split(b"\r\n")
        self.assertEqual([line for line in shown if len(line) > 24], [])
        self.assertEqual(sum(line.startswith(b"-- current = head;") for line in shown), 1)
        term.type(b"\x03")  # Ctrl-C at a step
        self.assertEqual(term.status(), -signal.SIGINT)
        self.assertEqual(term.settings(), term.before)


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
        for _ in range(2):  # every bg stops it again
            self.assertRegex(self.shell.command("bg; sleep 0.5; jobs"),
                             rb"\+ +Stopped +posremove\r\n$")
        self.shell.type(b"fg\n")
        self.assertTrue(self.shell.read_until(b"posremove\r\n"), self.shell.output)
        time.sleep(0.3)
        self.shell.type(b"\x1b[A")  # an arrow ends the wait, and none of it is left for the shell
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
        widest, which its longest row fills, to NULL. Into a pipe, what is
        drawn is out before the next line is read."""
        typed = prepared(self, b"1\n" + b"12345678\n" * 24 + b"\n")
        plain = {k: v for k, v in os.environ.items() if k != "COLUMNS"}
        for env, columns, width in ((dict(plain, COLUMNS="30"), 100, "30"), (plain, 100, "100"),
                                    (plain, 300, "256")):
            with self.subTest(width=width):
                term = Terminal("fifolist", args=["--draw", f"<{typed}"], env=env, columns=columns)
                self.addCleanup(term.close)
                term.read_until(b"12345678\r\n")  # the listing, which ends the output
                shown = term.output.replace(b"\r\n", b"\n")
                run = subprocess.Popen([os.path.join(BIN, "fifolist"), "--draw"], env=dict(
                    plain, COLUMNS=width), stdin=subprocess.PIPE, stdout=subprocess.PIPE)
                first = b"1\n"  # typed alone, and drawn before the rest comes
                run.stdin.write(first)
                run.stdin.flush()
                piped = b""
                while b"head = tail" not in piped and select.select([run.stdout], [], [], 5)[0]:
                    piped += os.read(run.stdout.fileno(), 4096)
                self.assertIn(b"head = tail", piped)
                self.assertEqual(shown, piped + run.communicate(typed.read_bytes()[2:], 5)[0])
        self.assertTrue(any(len(row) > 250 and row.endswith(b"NULL") for row in shown.split(b"\n")))


SHOWN = ["Input integer value or ENTER", "10", "20", "", "inputed spisok", "   10   20",
         "input nomber of find elem", "5"]


class Pane:
    """A bash script in a tmux pane of a server of its own, whose screen is
    read as a person sees it."""

    def __init__(self, script, columns=80, rows=24):
        self.socket = f"listprograms-{os.getpid()}-{time.monotonic_ns()}"
        self.tmux("new-session", "-d", "-x", str(columns), "-y", str(rows), "bash", "-c", script)

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
        while last_line not in self.screen() and time.monotonic() < end:
            time.sleep(0.05)
        return last_line in self.screen()

    def wait_until(self, test, seconds=10):
        end = time.monotonic() + seconds
        while not test(self.screen()) and time.monotonic() < end:
            time.sleep(0.05)
        return test(self.screen())

    def alternate(self):
        return self.tmux("display", "-p", "#{alternate_on}").strip() == "1"

    def close(self):
        subprocess.run(["tmux", "-L", self.socket, "kill-server"], capture_output=True)


def wine_pane(*args):
    """posremove.exe under wine; after it, the shell reads one line, to show
    what the program left unread."""
    return Pane(f"{shlex.join(WINE + [PROGRAM, *args])}; echo \" exit=$?\"; "
                "read -r rest; echo \"left=[$rest]\"; sleep 60")


@unittest.skipUnless(WINE, "the Windows key wait runs with --wine")
class WineKeyWait(unittest.TestCase):
    def setUp(self):
        self.pane = wine_pane()
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

    def test_step_goes_on_and_back_at_the_console(self):
        pane = wine_pane("--step")
        self.addCleanup(pane.close)
        self.assertTrue(pane.wait_for(SHOWN[0]), pane.screen())
        pane.keys("10", "Enter", "20", "Enter", "Enter", "1", "Enter")  # the typing paces
        for key, step in ((None, 6), ("Right", 7), ("Left", 6), ("Space", 7), ("b", 6), ("Enter", 7)):
            if key:
                pane.keys(key)
            hint = f"step {step}: space next, b back, q no more stops"
            self.assertTrue(pane.wait_for(hint), pane.screen())
        pane.keys("q")  # the rest without waiting, then posremove's own wait
        self.assertTrue(pane.wait_for("-- waitForKey(); // the program waits for a key press"))
        pane.keys("x")
        self.assertTrue(pane.wait_for(" exit=0"), pane.screen())


ROOT = Path(__file__).resolve().parent.parent


def drawings(program, typed, columns):
    """What --draw draws for typed at columns: each drawing's lines."""
    out = subprocess.run([os.path.join(BIN, program), "--draw"], input=typed, timeout=5,
                         stdout=subprocess.PIPE, env=dict(os.environ, COLUMNS=str(columns)))
    found, lines = [], None
    for line in out.stdout.decode(errors="replace").split("\n"):
        if line.startswith("-- ") and not (lines and lines[-1].startswith("-- ")):
            lines = [line]
            found.append(lines)
        elif lines is not None and line.startswith(("-- ", "  ")):
            lines.append(line)
        else:
            lines = None  # a line of the program's own ends the drawing
    return found


class View(unittest.TestCase):
    """--step's full-screen view, in tmux as a person sees it."""

    def pane(self, script, columns=80, rows=24):
        pane = Pane(script, columns, rows)
        self.addCleanup(pane.close)
        return pane

    def step(self, pane, status):
        self.assertTrue(pane.wait_until(lambda rows: rows[-1].startswith(status)), pane.screen())

    def test_opens_where_there_is_room_and_goes_on_back_first_latest_new(self):
        typed = prepared(self, b"3\n4\n10\n7\n\n")
        program = os.path.abspath(os.path.join(BIN, "parityfive"))
        for columns, rows, view in ((39, 24, False), (80, 15, False), (40, 16, True)):
            small = self.pane(f"{program} --step < {typed}; sleep 60", columns, rows)
            self.step(small, "step 1 spc:next" if view else "step 1: space")
            self.assertEqual(small.alternate(), view)  # the scrolling --step where it is no room
        pane = self.pane(f"stty -g > {typed}.before; {program} --step < {typed}; echo exit=$?; "
                         f"stty -g > {typed}.after; sleep 60")
        self.addCleanup(lambda: [Path(f"{typed}.{end}").unlink(missing_ok=True)
                                 for end in ("before", "after")])
        self.step(pane, "step 1  space next")
        self.assertTrue(pane.alternate())
        drawn, first = drawings("parityfive", typed.read_bytes(), 80), pane.screen()
        self.assertEqual(first[:len(drawn[0])], drawn[0])
        # The marked line is the source's own, under the file's path.
        number, text = re.match(r">\s*(\d+)  (.*)", next(r for r in first if r[:1] == ">")).groups()
        source = (ROOT / first[len(drawn[0])]).read_text().split("\n")
        self.assertEqual(text.strip(), source[int(number) - 1].strip())
        for key, status in (("Space", "step 2 "), ("b", "step 1 ")):
            pane.keys(key)
            self.step(pane, status)
        self.assertEqual(pane.screen(), first)
        pane.tmux("resize-window", "-x", "60", "-y", "20")  # the same step at the new size
        self.assertTrue(pane.wait_until(lambda rows: len(rows) == 20), pane.screen())
        self.assertEqual(pane.screen()[:len(drawn[0])], drawings("parityfive", typed.read_bytes(), 60)[0])
        self.assertEqual([row for row in pane.screen() if len(row) > 60], [])
        pane.tmux("resize-window", "-x", "30", "-y", "20")
        self.assertTrue(pane.wait_for("needs 40x16, is 30x20"), pane.screen())
        pane.keys("G")  # too small: no key but q takes effect
        pane.tmux("resize-window", "-x", "80", "-y", "24")
        self.step(pane, "step 1 ")
        # G: the latest step, then on to the end; g: the first; n: the next
        # step of a draw call not met before (past the loop's repeats).
        for key, status in (("G", "step 2 "), ("G", "step 15 of 15")):
            pane.keys(key)
            self.step(pane, status)
        # The statement drawn before it runs, below its two-line draw call.
        self.assertEqual([row[-17:] for row in pane.screen() if row[:1] == ">"], ["std::free(found);"])
        for key, status in (("g", "step 1 of 15"),
                            ("n", "step 2 of"), ("n", "step 3 of"), ("n", "step 4 of"),
                            ("n", "step 5 of"), ("n", "step 10 of")):
            pane.keys(key)
            self.step(pane, status)
        pane.keys("q")
        self.assertTrue(pane.wait_for("exit=0"), pane.screen())
        self.assertFalse(pane.alternate())
        plain = subprocess.run([program], input=typed.read_bytes(), stdout=subprocess.PIPE).stdout
        self.assertEqual(pane.screen()[:-1], plain.decode().rstrip("\n").split("\n"))
        self.assertEqual(Path(f"{typed}.before").read_text(), Path(f"{typed}.after").read_text())

    def test_typed_input_is_edited_in_the_view(self):
        program = os.path.abspath(os.path.join(BIN, "posremove"))
        pane = self.pane(f"{program} --step; echo exit=$?; sleep 60")
        self.step(pane, "no step yet")
        pane.keys("1", "0", "BSpace", "2")
        self.assertTrue(pane.wait_for("12_"), pane.screen())
        pane.keys("Enter")
        self.step(pane, "step 1 ")
        self.assertEqual(pane.screen()[0], "-- IntNode* node = newIntNode(toInt32(line)); // 12 was typed")
        pane.keys("Space")
        self.step(pane, "step 2 ")
        pane.keys("3")  # no step key: the start of the next line
        self.assertTrue(pane.wait_for("3_"), pane.screen())
        for key, status in (("Enter", "step 3 "), ("G", "step 5 "), ("Enter", "step 5 "),
                            ("5", "step 5 "), ("Enter", "step 6 "), ("G", "step 9 ")):
            pane.keys(key)
            self.step(pane, status)
        # The key wait is a step of its own: its line marked, a key ends it.
        screen = pane.screen()
        self.assertEqual(screen[0], "-- waitForKey(); // the program waits for a key press")
        self.assertEqual([row.split()[-1] for row in screen if row[:1] == ">"], ["waitForKey();"])
        self.assertIn("element     5 apsent", screen)
        self.assertEqual(screen[-1], "step 9  a key ends the program  b back  q leave")
        pane.keys("b")  # paged back and forth, the wait still waits
        self.step(pane, "step 8 ")
        pane.keys("Space")
        self.step(pane, "step 9  a key")
        pane.keys("x")  # posremove's own key
        self.step(pane, "step 9 of 9")
        pane.keys("q")
        self.assertTrue(pane.wait_for("element     5 apsentexit=0"), pane.screen())
        self.assertEqual(pane.screen(), ["Input integer value or ENTER", "12", "3", "",
                                         "inputed spisok", "   12    3",
                                         "input nomber of find elem", "5",
                                         "element     5 apsentexit=0"])

    def screens(self, pane, keys):
        """The screen after each key, once its status line shows."""
        shown = []
        for key, status in keys:
            pane.keys(key)
            self.step(pane, status)
            shown.append(pane.screen())
        return shown

    def test_forward_and_back_visit_every_step_and_bring_back_its_screen(self):
        typed = prepared(self, b"3\n4\n10\n7\n\n")
        program = os.path.abspath(os.path.join(BIN, "parityfive"))
        pane = self.pane(f"{program} --step < {typed}; sleep 60")
        self.step(pane, "step 1 ")
        steps = [2, 3, 4, 5, 4, 3, 2, 3, 4, 5]
        keys = ["Space", "Enter", "Right", "j", "b", "Left", "k", "Space", "Right", "j"]
        shown = self.screens(pane, [(key, f"step {n} ") for key, n in zip(keys, steps)])
        for n, screen in zip(steps, shown):
            self.assertEqual(screen, shown[steps.index(n)])
        # Every source line keeps its column, and no drawing call is shown.
        for key in ["G"] * 2 + ["g"] + ["Space"] * 14:
            pane.keys(key)
            time.sleep(0.05)
            shown.append(pane.screen())
        rows, file = {}, None
        for row in (r for screen in shown for r in screen):
            file = row if row.endswith(".cpp") else file
            if re.match(r"[> ] *\d+  ", row):
                self.assertEqual(rows.setdefault((file, int(row[1:5])), row[1:]), row[1:])
                self.assertNotRegex(row, r"\bdraw\w*\(")
        self.assertTrue(all(any(r[:1] == ">" for r in screen) for screen in shown))

    def test_typed_input_back_over_it_tab_paste_held_keys_and_the_way_out(self):
        program = os.path.abspath(os.path.join(BIN, "lifolist"))
        pane = self.pane(f"{program} --step; sleep 60")
        self.step(pane, "no step yet  Enter gives the line  Esc back to the steps")
        first = self.screens(pane, [("1", "no step"), ("Enter", "step 1 "), ("Space", "step 2 "),
                                    ("Space", "step 2  Enter gives"), ("2", "step 2  Enter gives"),
                                    ("Enter", "step 3 ")])[-1]
        pane.keys(*["Space"] * 20)  # held past the last step: none typed
        self.step(pane, "step 5  Enter gives")
        time.sleep(0.3)
        self.assertIn("_", pane.screen())
        pane.keys("Escape")
        self.step(pane, "step 5  space next")
        self.assertEqual(self.screens(pane, [("b", "step 4 "), ("b", "step 3 ")])[-1], first)
        pane.keys("G", "Tab", "-", "3", "Enter")  # a Tab is typed too, and skipped by atoi
        self.step(pane, "step 6 ")
        self.assertEqual(pane.screen()[0], "-- node = newIntNode(toInt32(line)); // -3 was typed")
        program = os.path.abspath(os.path.join(BIN, "hashstar"))
        pane = self.pane(f"{program} --step; sleep 60", 120, 30)
        self.step(pane, "no step yet")
        line = "你好世界\t★"
        pane.keys("-l", line)
        pane.keys("Enter")  # after the star: not swallowed
        self.step(pane, "step 1 ")
        self.assertEqual(pane.screen()[:4], drawings("hashstar", line.encode() + b"\n", 120)[0])

    def test_output_kept_in_memory_no_alternate_screen_a_read_error_a_hang_up(self):
        typed = prepared(self, b"3\n4\n10\n7\n\n")
        program = os.path.abspath(os.path.join(BIN, "parityfive"))
        plain = subprocess.run([program], input=typed.read_bytes(), stdout=subprocess.PIPE).stdout
        # No file may be written (ulimit -f 0): the output still comes back.
        pane = self.pane(f"ulimit -f 0; {program} --step < {typed}; echo exit=$?; sleep 60")
        self.step(pane, "step 1 ")
        self.screens(pane, [("G", "step 15 of 15")])
        pane.keys("q")
        self.assertTrue(pane.wait_for("exit=0"), pane.screen())
        self.assertEqual(pane.screen()[:-1], plain.decode().rstrip("\n").split("\n"))
        # Stopped by SIGSTOP, lines written over the view meanwhile: a
        # continue draws it again at once. Ctrl-Z in a group with no shell
        # to continue it does not stop, and the view stays whole.
        pane = self.pane(f"exec {program} --step < {typed}")
        self.step(pane, "step 1 ")
        first, pid = pane.screen(), int(pane.tmux("display", "-p", "#{pane_pid}"))
        os.kill(pid, signal.SIGSTOP)
        Path(pane.tmux("display", "-p", "#{pane_tty}").strip()).write_text("\x1b[Hover the view\n")
        self.assertTrue(pane.wait_until(lambda rows: rows[0].startswith("over the view")))
        os.kill(pid, signal.SIGCONT)
        self.assertTrue(pane.wait_until(lambda rows: rows == first), pane.screen())
        pane.keys("C-z", "Space")
        self.step(pane, "step 2 ")
        self.assertTrue(pane.alternate())
        # A terminal without an alternate screen scrolls; a read error says why.
        pane = self.pane(f"TERM=linux {program} --step < {typed}; sleep 60")
        self.step(pane, "step 1: ")
        self.assertFalse(pane.alternate())
        pane = self.pane(f"{program} --step < /; echo exit=$?; sleep 60")
        self.assertTrue(pane.wait_for("exit=1"), pane.screen())
        self.assertIn("parityfive: read error: Is a directory", pane.screen())
        # A hang-up, ignored, with a half-typed line: the program ends.
        pane = self.pane(f"trap '' HUP; exec {os.path.join(BIN, 'posremove')} --step")
        self.step(pane, "no step yet")
        pane.keys("1", "2")
        self.assertTrue(pane.wait_for("12_"), pane.screen())
        pid = int(pane.tmux("display", "-p", "#{pane_pid}"))
        pane.close()
        end = time.monotonic() + 5
        while time.monotonic() < end and Path(f"/proc/{pid}").exists():
            time.sleep(0.05)
        self.assertFalse(Path(f"/proc/{pid}").exists())

    def test_every_way_out_gives_the_terminal_back(self):
        typed = prepared(self, b"3\n4\n\n")
        program = os.path.abspath(os.path.join(BIN, "parityfive"))
        pane = self.pane("PS1='$ ' exec bash --norc -i")
        self.assertTrue(pane.wait_for("$"), pane.screen())
        pane.keys(f"clear; stty -g > {typed}.before", "Enter")
        self.addCleanup(lambda: Path(f"{typed}.before").unlink())
        shell = pane.tmux("display", "-p", "#{pane_pid}").strip()
        for way, status in (("q", 0), ("C-c", 130), ("kill", 143), ("C-z", 0), ("bg", 0)):
            with self.subTest(way=way):
                pane.keys(f"clear; {program} --step < {typed}", "Enter")
                self.step(pane, "step 1 ")
                if way == "kill":
                    child = subprocess.run(["pgrep", "-P", shell], capture_output=True, text=True)
                    os.kill(int(child.stdout.split()[0]), signal.SIGTERM)
                else:
                    pane.keys("C-z" if way == "bg" else way)
                if way == "bg":  # continued in the background, it stops at its wait again
                    self.assertTrue(pane.wait_until(lambda rows: any("Stopped" in r for r in rows)))
                    pane.keys("clear; bg; sleep 0.5; stty -g | cmp - " + f"{typed}.before && echo same", "Enter")
                    self.assertTrue(pane.wait_for("same"), pane.screen())
                    way = "C-z"
                if way == "C-z":  # stopped: the shell's screen; fg: the same step again
                    self.assertTrue(pane.wait_until(lambda rows: any("Stopped" in r for r in rows)))
                    self.assertFalse(pane.alternate())
                    pane.keys("fg", "Enter")
                    self.step(pane, "step 1 ")
                    self.assertTrue(pane.alternate())
                    pane.keys("q")
                self.assertTrue(pane.wait_until(lambda rows: rows[-1] == "$"), pane.screen())
                pane.keys("echo exit=$?", "Enter")
                self.assertTrue(pane.wait_for(f"exit={status}"), pane.screen())
                self.assertFalse(pane.alternate())
                pane.keys(f"stty -g | cmp - {typed}.before && echo same", "Enter")
                self.assertTrue(pane.wait_for("same"), pane.screen())


if __name__ == "__main__":
    unittest.main(verbosity=2, defaultTest="WineKeyWait" if WINE else None)
