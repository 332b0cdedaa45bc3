// The key wait is the one place that knows about terminals. Whatever way the
// program leaves the wait (a key, a signal that ends it, a stop), the
// terminal gets back the exact settings it had before.
//
// The signals that end or stop a program are caught only to note them, and
// only while the wait sleeps in pselect; everywhere else they stay blocked.
// A noted signal is then sent again under the disposition the caller had,
// after the terminal is restored, so the caller sees what really happened:
// the program dies of it, stops on it, or (continued) waits again.
#include "console.h"

#include <cerrno>
#include <csignal>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Every signal whose default action ends or stops the program.
constexpr int fixedSignals[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT,   SIGBUS,  SIGFPE,
    SIGUSR1,   SIGSEGV, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,   SIGTSTP, SIGTTIN,
    SIGTTOU,   SIGXCPU, SIGXFSZ, SIGSYS,  SIGPROF, SIGVTALRM,
#ifdef SIGPOLL
    SIGPOLL,
#endif
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
#ifdef SIGEMT
    SIGEMT,
#endif
#ifdef SIGLOST
    SIGLOST,
#endif
};

constexpr int signalSlots = 129; // above every signal number of the systems we build on

volatile std::sig_atomic_t caught[signalSlots];
struct sigaction entry[signalSlots]; // each signal's disposition before the wait
bool ours[signalSlots];              // caught by us during the wait
sigset_t handled;                    // the signals in ours[], and SIGCONT

void note(int sig) { caught[sig] = 1; }

void take(int sig)
{
    if (sig <= 0 || sig >= signalSlots || sigaction(sig, nullptr, &entry[sig]) != 0)
        return;
    // A signal the caller chose to ignore (nohup, a background job) stays ignored.
    if (sig != SIGCONT && entry[sig].sa_handler == SIG_IGN)
        return;
    ours[sig] = true;
    sigaddset(&handled, sig);
}

// Installs our noting handler on every signal we take. Called with them blocked.
void catchAll()
{
    struct sigaction act = {};
    act.sa_handler = note;
    sigfillset(&act.sa_mask);
    for (int sig = 1; sig < signalSlots; ++sig)
        if (ours[sig])
            sigaction(sig, &act, nullptr);
}

void putBackAll()
{
    for (int sig = 1; sig < signalSlots; ++sig)
        if (ours[sig])
            sigaction(sig, &entry[sig], nullptr);
}

// Sends sig again under the caller's dispositions and lets every pending
// signal through: we end here, or stop here until continued, or go on.
void deliverAsBefore(int sig, const sigset_t& entryMask)
{
    putBackAll();
    raise(sig);
    sigprocmask(SIG_SETMASK, &entryMask, nullptr);
    // Still alive: continued after a stop, or the signal did not end us.
    sigprocmask(SIG_BLOCK, &handled, nullptr);
    catchAll();
}

bool inForeground(int fd) { return tcgetpgrp(fd) == getpgrp(); }

// Waits until fd has a byte or, with a limit, until the limit passes.
// Returns 1 when a byte is there, 0 at the limit, -1 on a signal or error;
// the noted signals are let through only while it sleeps.
int sleepOn(int fd, const sigset_t& entryMask, const timespec* limit)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(fd, &readable);
    return pselect(fd + 1, &readable, nullptr, nullptr, limit, &entryMask);
}

// The bytes a key sends after its first: the rest of an escape sequence
// (an arrow is ESC [ A, F5 is ESC [ 1 5 ~, Home may be ESC O H) or of a
// UTF-8 character. A terminal sends them together, so a short pause ends
// the key; a lone ESC is the Escape key.
void readRestOfKey(int fd, unsigned char first, const sigset_t& entryMask)
{
    const timespec pause = {0, 50'000'000};
    auto next = [&](unsigned char& byte) {
        return sleepOn(fd, entryMask, &pause) == 1 && read(fd, &byte, 1) == 1;
    };
    unsigned char byte = 0;
    if (first == 0x1b) {
        if (!next(byte))
            return;
        if (byte == '[') { // parameters and intermediates until a final byte
            while (next(byte) && (byte < 0x40 || byte > 0x7e)) {
            }
        } else if (byte == 'O') {
            next(byte);
        }
        return;
    }
    int continuation = first >= 0xf0 ? 3 : first >= 0xe0 ? 2 : first >= 0xc0 ? 1 : 0;
    while (continuation-- > 0 && next(byte)) {
    }
}

} // namespace

void waitForKey()
{
    flushOutput(); // everything printed so far is on the screen while we wait
    int fd = fileno(stdin);
    termios found{};
    if (fd < 0 || !isatty(fd) || tcgetattr(fd, &found) != 0)
        return;
    termios waiting = found; // non-canonical, no echo: one byte completes a read
    waiting.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    waiting.c_cc[VMIN] = 1;
    waiting.c_cc[VTIME] = 0;

    sigemptyset(&handled);
    for (int sig : fixedSignals)
        take(sig);
#if defined(SIGRTMIN) && defined(SIGRTMAX)
    for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig)
        take(sig);
#endif
    take(SIGCONT); // to set the wait mode again after a stop we did not see
    sigset_t entryMask;
    sigprocmask(SIG_BLOCK, &handled, &entryMask);
    catchAll();

    bool applied = false; // whether the terminal is in the wait mode
    bool triedStop = false;
    for (;;) {
        if (!inForeground(fd)) {
            // A background job that reads its terminal is stopped until it
            // is brought to the foreground; if it cannot be, it stops waiting.
            if (triedStop || entry[SIGTTIN].sa_handler == SIG_IGN)
                break;
            triedStop = true;
            deliverAsBefore(SIGTTIN, entryMask);
            continue;
        }
        triedStop = false;
        // TCSANOW, not TCSAFLUSH: keys typed ahead count as the key press.
        applied = tcsetattr(fd, TCSANOW, &waiting) == 0;
        int ready = sleepOn(fd, entryMask, nullptr);
        // Straight from the descriptor: stdio's buffer still holds the end
        // of the line that was read last, and that must not count as the key.
        unsigned char key = 0;
        if (ready == 1 && read(fd, &key, 1) == 1) {
            readRestOfKey(fd, key, entryMask);
            break;
        }
        if (ready == 1 || errno != EINTR)
            break;
        if (applied)
            tcsetattr(fd, TCSANOW, &found);
        applied = false;
        for (int sig = 1; sig < signalSlots; ++sig) {
            if (caught[sig] != 0 && sig != SIGCONT) {
                caught[sig] = 0;
                deliverAsBefore(sig, entryMask);
            }
        }
        caught[SIGCONT] = 0;
    }

    // The terminal first, while every signal is still held, so none can end
    // the program between the two with echo off. A signal noted while the
    // rest of the key was read is sent again once the caller's dispositions
    // are back.
    if (applied)
        tcsetattr(fd, TCSANOW, &found);
    putBackAll();
    for (int sig = 1; sig < signalSlots; ++sig)
        if (caught[sig] != 0 && sig != SIGCONT)
            raise(sig);
    sigprocmask(SIG_SETMASK, &entryMask, nullptr);
}

int terminalColumns()
{
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0)
        return 0;
    return size.ws_col;
}
