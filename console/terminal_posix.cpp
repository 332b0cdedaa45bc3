// The terminal on POSIX systems: its width, the key waits (posremove's
// last key, and --step's keys), and the full-screen view's screen.
//
// A key wait works as OpenBSD's readpassphrase does. Every signal that
// would end or stop the program is blocked, except while the wait sleeps in
// pselect, where its handler only notes it. A noted signal is sent again
// under the caller's own disposition once the terminal is back as it was
// found: the program dies of it, stops on it, or runs the caller's handler,
// and when it is still here (continued) it waits again.
#include "console.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <sys/types.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int slots = 129; // above every signal number of the systems we build on
volatile std::sig_atomic_t pending[slots];
struct sigaction callers[slots]; // the dispositions found on entry
sigset_t watched;                // the signals caught while we wait

void notePending(int sig) { pending[sig] = 1; }

// Every signal is watched but those that cannot be caught and the faults,
// which must never be blocked; one whose default ignores it is sent again
// to no effect. A signal the caller ignores (nohup, a background job) stays
// ignored; SIGCONT, to set the wait mode again after a stop we did not see.
void watchSignals()
{
    sigemptyset(&watched);
    for (int sig = 1; sig < slots; ++sig) {
        bool uncatchable = sig == SIGKILL || sig == SIGSTOP;
        bool fault = sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL;
        if (!uncatchable && !fault && sigaction(sig, nullptr, &callers[sig]) == 0 &&
            (sig == SIGCONT || callers[sig].sa_handler != SIG_IGN))
            sigaddset(&watched, sig);
    }
}

void noteHandler(int sig)
{
    struct sigaction note = {};
    note.sa_handler = notePending;
    sigfillset(&note.sa_mask);
    sigaction(sig, &note, nullptr);
}

void setHandlers(bool noting)
{
    for (int sig = 1; sig < slots; ++sig) {
        if (sigismember(&watched, sig) != 1)
            continue;
        if (noting)
            noteHandler(sig);
        else if (sigaction(sig, &callers[sig], nullptr) != 0)
            terminalNotRestored();
    }
}

bool stops(int sig) { return sig == SIGTSTP || sig == SIGTTIN || sig == SIGTTOU; }

void showScreenAgain();

// Sends sig again as the caller would have met it, letting through what the
// caller lets through: the program ends, or stops until continued, or goes
// on. Returns whether it was continued after a stop: a group with no shell
// to continue it (an orphaned one) is never stopped.
bool resend(int sig, const sigset_t& callerMask)
{
    setHandlers(false);
    pending[SIGCONT] = 0;
    if (stops(sig))
        noteHandler(SIGCONT);
    raise(sig);
    sigprocmask(SIG_SETMASK, &callerMask, nullptr);
    sigprocmask(SIG_BLOCK, &watched, nullptr);
    setHandlers(true);
    if (pending[SIGCONT] != 0)
        showScreenAgain(); // left before the stop
    return pending[SIGCONT] != 0;
}

// 1 when fd has a byte within limit (nullptr: no limit), 0 when the limit
// passes, -1 on a signal or an error.
int sleepOn(int fd, const timespec* limit, const sigset_t& callerMask)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    return pselect(fd + 1, &readable, nullptr, nullptr, limit, &callerMask);
}

// The first bytes of one key press, enough to tell the keys --step uses.
struct Key {
    unsigned char bytes[8];
    int count = 0; // 0: the end of input or a read error; -1: a resize
};

// Reads the bytes that one key press sends after its first, which the
// terminal sends together: an escape sequence (an arrow ESC [ A, F5
// ESC [ 1 5 ~, the Linux console's F1 ESC [ [ A, SS3 keys ESC O P and with
// a modifier ESC O 2 P, any of these after ESC for Alt) or a UTF-8
// character, an emoji with its skin tone, selector or joined emoji.
void readRestOfKey(int fd, Key& key, const sigset_t& callerMask)
{
    const timespec pause = {0, 50'000'000}; // a lone ESC is the Escape key
    unsigned char byte = key.bytes[0];
    auto next = [&] {
        if (sleepOn(fd, &pause, callerMask) != 1 || read(fd, &byte, 1) != 1)
            return false;
        if (key.count < static_cast<int>(sizeof key.bytes))
            key.bytes[key.count++] = byte;
        return true;
    };
    if (byte == 0x1b) {
        if (!next() || (byte == 0x1b && !next()))
            return;
        if (byte == '[') {
            if (next() && byte == '[')
                next();
            while ((byte < 0x40 || byte > 0x7e) && next()) {
            }
            return;
        }
        if (byte == 'O') {
            while (next() && ((byte >= '0' && byte <= '9') || byte == ';')) {
            }
            return;
        }
    }
    // After an emoji (or a joiner) the rest of the symbol comes at once; a
    // byte that comes then and belongs to no symbol is lost, typed too fast
    // to be told apart.
    for (;;) {
        int more = byte >= 0xf0 ? 3 : byte >= 0xe0 ? 2 : byte >= 0xc0 ? 1 : 0;
        std::uint32_t code = byte & (0x7fU >> more);
        while (more-- > 0 && next())
            code = code << 6 | (byte & 0x3fU);
        if ((code < 0x2600 && code != 0x200d) || !next() || byte < 0xc0)
            return;
    }
}

// Waits at the terminal fd for one key press, without echo, and reads it
// whole. hint, when given, stands on the screen while it waits: it is
// erased before the wait ends, and before a signal stops or ends the
// program. With events, a resize or a continue after a stop ends the wait
// too (count -1), for what is shown to be drawn again.
Key readKey(int fd, const char* hint, bool events)
{
    Key key;
    termios found{};
    if (tcgetattr(fd, &found) != 0)
        return key;
    termios waiting = found; // non-canonical, no echo: one byte completes a read
    waiting.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    waiting.c_cc[VMIN] = 1;
    waiting.c_cc[VTIME] = 0;

    watchSignals();
    sigset_t callerMask;
    sigprocmask(SIG_BLOCK, &watched, &callerMask);
    setHandlers(true);

    bool hinted = false;
    for (bool done = false; !done;) {
        // A background job (the terminal's foreground group is another
        // group) stops, as any reader of its terminal, until it is brought
        // to the foreground, however often bg continues it; one that cannot
        // stop does not wait. A terminal that is not our controlling one
        // has no group to compare: we wait.
        pid_t foreground = tcgetpgrp(fd);
        if (foreground != -1 && foreground != getpgrp()) {
            if (sigismember(&watched, SIGTTIN) != 1 || !resend(SIGTTIN, callerMask))
                break;
            continue;
        }
        if (hint != nullptr && !hinted)
            showHint(hint);
        hinted = hint != nullptr;
        // TCSANOW, not TCSAFLUSH: keys typed ahead count as the key press.
        bool waitMode = tcsetattr(fd, TCSANOW, &waiting) == 0;
        int ready = sleepOn(fd, nullptr, callerMask);
        done = ready != -1 || errno != EINTR;
        // Straight from the descriptor: stdio's buffer still holds the end
        // of the line that was read last, and that must not count as the key.
        if (ready == 1 && read(fd, key.bytes, 1) == 1) {
            key.count = 1;
            readRestOfKey(fd, key, callerMask);
        }
        // The terminal first, while every signal is still held, so that none
        // can end the program with echo off; then what was noted. A resize
        // ends a wait with a hint, which is then sized again.
        if (waitMode && tcsetattr(fd, TCSANOW, &found) != 0)
            terminalNotRestored();
        pending[SIGCONT] = 0;
        bool redraw = pending[SIGWINCH] != 0;
        for (int sig = 1; sig < slots; ++sig) {
            if (pending[sig] != 0) {
                if (hinted)
                    eraseHint(hint);
                hinted = false;
                pending[sig] = 0;
                redraw = resend(sig, callerMask) || redraw;
            }
        }
        if (events && redraw && key.count == 0) {
            key.count = -1;
            done = true;
        }
    }
    if (hinted)
        eraseHint(hint);
    setHandlers(false);
    sigprocmask(SIG_SETMASK, &callerMask, nullptr);
    return key;
}

// The terminal --step reads its keys from: -1 where there is none, or
// where standard output is no terminal to show the steps on.
int stepKeys()
{
    static int fd = -2; // not asked yet
    if (fd == -2) {
        fd = -1;
        if (isatty(STDOUT_FILENO) != 0) {
            fd = open("/dev/tty", O_RDONLY | O_NOCTTY);
            if (fd < 0 && isatty(STDIN_FILENO) != 0)
                fd = STDIN_FILENO;
        }
    }
    return fd;
}

// --step holds its terminal in the wait mode from its first key on, so
// that keys typed while a drawing is written are never echoed into it;
// the terminal is given back at q, at the exit, and before any signal
// ends or stops the program (and held again when it is continued).
int heldFd = -1;
termios held{};                      // the settings found
struct sigaction heldCallers[slots]; // the dispositions found
sigset_t heldSignals;                // the signals that give the terminal back

// The full-screen view's screen: the terminal's alternate screen, while the
// program's own output goes to a temporary file, shown on the normal screen
// when the view closes. What a signal handler calls here is safe there.
int screenFd = -1;        // the terminal, while output is kept aside; -1: none
int keptFd = -1;          // the output kept aside
bool screenShown = false; // the alternate screen is entered
// The screen's width when it was last asked: the drawings read meanwhile
// (many, when the view runs on to a step) are read for it.
int screenColumns = 0;
constexpr char enterAlternate[] = "\x1b[?1049h\x1b[?25l";
constexpr char leaveAlternate[] = "\x1b[?25h\x1b[?1049l";

void writeAll(int fd, const char* text, std::size_t length)
{
    while (length > 0) {
        const ssize_t n = write(fd, text, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        text += n;
        length -= static_cast<std::size_t>(n);
    }
}

void hideScreen()
{
    if (screenShown)
        writeAll(screenFd, leaveAlternate, sizeof leaveAlternate - 1);
    screenShown = false;
}

void showScreenAgain()
{
    if (screenFd >= 0 && !screenShown)
        writeAll(screenFd, enterAlternate, sizeof enterAlternate - 1);
    screenShown = screenFd >= 0;
}

// Standard output is the terminal again, and shows what was kept aside.
void showKept()
{
    if (screenFd < 0)
        return;
    dup2(screenFd, STDOUT_FILENO);
    char buffer[4096];
    off_t at = 0;
    for (ssize_t n; (n = pread(keptFd, buffer, sizeof buffer, at)) > 0; at += n)
        writeAll(STDOUT_FILENO, buffer, static_cast<std::size_t>(n));
    close(screenFd);
    close(keptFd);
    screenFd = keptFd = -1;
}

void holdAgain(int fd);

void giveBack(int sig)
{
    const int saved = errno;
    hideScreen();
    tcsetattr(heldFd, TCSANOW, &held);
    if (sig == SIGCONT) {
        holdAgain(heldFd);
        showScreenAgain();
    } else {
        if (!stops(sig))
            showKept();
        sigaction(sig, &heldCallers[sig], nullptr);
        raise(sig); // taken as the caller would once this handler returns
    }
    errno = saved;
}

void holdAgain(int fd)
{
    termios waiting = held;
    waiting.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    waiting.c_cc[VMIN] = 1;
    waiting.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &waiting);
    struct sigaction leave = {};
    leave.sa_handler = giveBack;
    sigfillset(&leave.sa_mask);
    for (int sig = 1; sig < slots; ++sig)
        if (sigismember(&heldSignals, sig) == 1)
            sigaction(sig, &leave, nullptr);
}

void holdStepKeys(int fd)
{
    if (heldFd >= 0 || fd < 0 || tcgetattr(fd, &held) != 0)
        return;
    static bool registered = false;
    if (!registered)
        registered = std::atexit(releaseStepKeys) == 0;
    watchSignals();
    sigemptyset(&heldSignals);
    for (int sig = 1; sig < slots; ++sig) {
        if (sigismember(&watched, sig) == 1 && sig != SIGWINCH && sig != SIGCHLD && sig != SIGURG) {
            sigaddset(&heldSignals, sig);
            heldCallers[sig] = callers[sig];
        }
    }
    heldFd = fd;
    holdAgain(fd);
}

} // namespace

void releaseStepKeys()
{
    if (heldFd < 0)
        return;
    bool restored = tcsetattr(heldFd, TCSANOW, &held) == 0;
    for (int sig = 1; sig < slots; ++sig)
        if (sigismember(&heldSignals, sig) == 1)
            restored = sigaction(sig, &heldCallers[sig], nullptr) == 0 && restored;
    heldFd = -1;
    if (!restored)
        terminalNotRestored();
}

bool keyWaits()
{
    termios settings{};
    int fd = fileno(stdin);
    return fd >= 0 && isatty(fd) != 0 && tcgetattr(fd, &settings) == 0;
}

void waitForKey()
{
    flushOutput(); // everything printed so far is on the screen while we wait
    if (keyWaits())
        readKey(fileno(stdin), nullptr, false);
}

bool stepKeysReady() { return stepKeys() >= 0; }

bool stepKeysFromInput()
{
    // Standard input is the controlling terminal when its session is ours.
    return stepKeysReady() && isatty(STDIN_FILENO) != 0 &&
           (stepKeys() == STDIN_FILENO || tcgetsid(STDIN_FILENO) == getsid(0));
}

KeyPress readStepKey(const char* hint)
{
    using Kind = KeyPress::Kind;
    holdStepKeys(stepKeys());
    flushOutput();
    const Key key = readKey(stepKeys(), hint, true);
    KeyPress press;
    const unsigned char* b = key.bytes;
    const unsigned char last = key.count > 0 ? b[key.count - 1] : 0;
    const bool sequence = key.count >= 3 && b[0] == 0x1b && (b[1] == '[' || b[1] == 'O');
    if (key.count < 0)
        press.kind = Kind::redraw;
    else if (key.count == 0 || (key.count == 1 && b[0] == 0x04))
        press.kind = Kind::endOfInput;
    else if (key.count == 1 && (b[0] == '\r' || b[0] == '\n'))
        press.kind = Kind::enter;
    else if (key.count == 1 && (b[0] == 0x7f || b[0] == 0x08))
        press.kind = Kind::backspace;
    else if (sequence && key.count == 3 &&
             (last == 'C' || last == 'D' || last == 'H' || last == 'F'))
        press.kind = last == 'C'   ? Kind::right
                     : last == 'D' ? Kind::left
                     : last == 'H' ? Kind::home
                                   : Kind::end;
    else if (sequence && key.count == 4 && last == '~' && (b[2] == '1' || b[2] == '4'))
        press.kind = b[2] == '1' ? Kind::home : Kind::end;
    else if (b[0] >= 0x20 && b[0] != 0x7f) {
        press.kind = Kind::text;
        press.length = key.count;
        for (int i = 0; i < key.count; ++i)
            press.text[i] = static_cast<char>(b[i]);
    }
    return press;
}

bool openScreen(int leastColumns, int leastRows)
{
    if (screenFd >= 0)
        return true;
    const char* term = std::getenv("TERM");
    winsize size{};
    if (term == nullptr || *term == '\0' || std::string_view(term) == "dumb" || stepKeys() < 0 ||
        ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col < leastColumns ||
        size.ws_row < leastRows)
        return false;
    std::FILE* kept = std::tmpfile();
    const int terminal = kept != nullptr ? dup(STDOUT_FILENO) : -1;
    if (terminal < 0) {
        if (kept != nullptr)
            std::fclose(kept);
        return false;
    }
    flushOutput();
    holdStepKeys(stepKeys());
    keptFd = dup(fileno(kept));
    std::fclose(kept); // the file lives on in keptFd, and goes with it
    dup2(keptFd, STDOUT_FILENO);
    screenFd = terminal;
    screenColumns = size.ws_col;
    showScreenAgain();
    return true;
}

bool screenIsOpen() { return screenFd >= 0; }

bool screenSize(int& columns, int& rows)
{
    winsize size{};
    if (screenFd < 0 || ioctl(screenFd, TIOCGWINSZ, &size) != 0)
        return false;
    columns = screenColumns = size.ws_col;
    rows = size.ws_row;
    return true;
}

void writeScreen(const char* text, std::size_t length) { writeAll(screenFd, text, length); }

int keptOutput(char* buffer, int size)
{
    flushOutput();
    const off_t end = lseek(keptFd, 0, SEEK_CUR);
    const off_t from = std::max<off_t>(end - size, 0);
    const ssize_t n =
        screenFd >= 0 ? pread(keptFd, buffer, static_cast<std::size_t>(end - from), from) : 0;
    return static_cast<int>(std::max<ssize_t>(n, 0));
}

void closeScreen()
{
    if (screenFd < 0)
        return;
    flushOutput();
    hideScreen();
    showKept();
    releaseStepKeys();
}

void prepareInput() {}

int terminalColumns()
{
    // Asked at every drawing, for a resized window; output that is no
    // terminal stays none, and is not asked again.
    static bool noTerminal = false;
    winsize size{};
    if (screenFd >= 0)
        return screenColumns;
    if (noTerminal || ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) {
        noTerminal = true;
        return 0;
    }
    return size.ws_col;
}
