// The terminal on POSIX systems: its width, which terminal the keys come
// from, and the terminal held in its wait mode while keys are read.
//
// The hold is one saved state, one table of the caller's signal
// dispositions and one handler. A signal that would end or stop the
// program gives the terminal back first (its settings, the normal screen,
// the output kept aside), then is sent again under the caller's own
// disposition: the program dies of it, stops on it, or runs the caller's
// handler; when it is continued in the foreground the terminal is held
// again and the view drawn again. A resize or a continue is let through
// only while a wait sleeps, in pselect, as OpenBSD's readpassphrase does,
// so that none comes between looking for one and sleeping.
#include "console.h"
#include "posix.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int slots = 129; // above every signal number of the systems we build on

struct Hold {
    int fd = -1;
    int depth = 0;
    termios found{};                 // the terminal's settings as found
    struct sigaction callers[slots]; // the dispositions found
    sigset_t caught;                 // the signals the handler takes
    sigset_t events;                 // of those, let through only in a wait: a resize, a continue
    sigset_t mask;                   // the signal mask as found
    const char* erase = nullptr;     // what erases a standing hint
    int eraseLength = 0;
    volatile std::sig_atomic_t redraw = 0;  // a resize or a continue came
    volatile std::sig_atomic_t resumed = 0; // a stop was continued
    volatile std::sig_atomic_t failed = 0;  // a call in the handler failed: errno's value
    bool registered = false;                // the release at the exit
    int keysFd = -2;                        // --step's keys; -2: not asked yet
    bool noTerminal = false;                // standard output is none, once asked
};

Hold hold;

bool stops(int sig) { return sig == SIGTSTP || sig == SIGTTIN || sig == SIGTTOU; }

bool inForeground()
{
    // A terminal that is not our controlling one has no group to compare.
    const pid_t foreground = tcgetpgrp(hold.fd);
    return foreground == -1 || foreground == getpgrp();
}

bool setWaitMode()
{
    termios waiting = hold.found; // non-canonical, no echo: one byte completes a read
    waiting.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    waiting.c_cc[VMIN] = 1;
    waiting.c_cc[VTIME] = 0;
    // TCSANOW, not TCSAFLUSH: keys typed ahead count as key presses.
    return tcsetattr(hold.fd, TCSANOW, &waiting) == 0;
}

void writeOut(const char* text, int length)
{
    while (length > 0) {
        const ssize_t n = write(STDOUT_FILENO, text, static_cast<std::size_t>(length));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        text += n;
        length -= static_cast<int>(n);
    }
}

// A call in the handler failed: said once the handler is left.
void failedInHandler(bool ok)
{
    if (!ok && hold.failed == 0)
        hold.failed = errno != 0 ? errno : EIO;
}

// The terminal as it was found, on the normal screen: safe in a handler.
void giveBack()
{
    if (hold.erase != nullptr)
        writeOut(hold.erase, hold.eraseLength);
    hold.erase = nullptr;
    screenLeave();
    failedInHandler(tcsetattr(hold.fd, TCSANOW, &hold.found) == 0);
}

// Held again after a continue: in the foreground only, for a background
// job must not touch the terminal (its next wait stops it again).
void takeAgain()
{
    if (!inForeground())
        return;
    failedInHandler(setWaitMode());
    screenEnter();
    hold.redraw = 1;
}

void onSignal(int sig);

bool catchSignal(int sig)
{
    struct sigaction ours = {};
    ours.sa_handler = onSignal;
    sigfillset(&ours.sa_mask);
    return sigaction(sig, &ours, nullptr) == 0;
}

// What failed in the handler, said now.
void sayFailed()
{
    if (hold.failed == 0)
        return;
    errno = hold.failed;
    hold.failed = 0;
    terminalNotRestored();
}

void onSignal(int sig)
{
    const int saved = errno;
    if (sig == SIGWINCH) {
        hold.redraw = 1;
    } else if (sig == SIGCONT) {
        takeAgain();
    } else {
        giveBack();
        if (!stops(sig))
            screenGiveBack();
        // Sent again under the caller's disposition, delivered at once.
        failedInHandler(sigaction(sig, &hold.callers[sig], nullptr) == 0);
        raise(sig);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, sig);
        failedInHandler(sigprocmask(SIG_UNBLOCK, &only, nullptr) == 0);
        // Still here: stopped and continued, or the caller's handler ran,
        // or a stop that the system discards (a group with no shell).
        failedInHandler(catchSignal(sig));
        sigset_t pending;
        if (stops(sig) && sigpending(&pending) == 0 && sigismember(&pending, SIGCONT) == 1)
            hold.resumed = 1;
        takeAgain();
    }
    errno = saved;
}

// Every signal is caught but those that cannot be and the faults, which
// must never be; one the caller ignores (nohup, a background job) stays
// ignored, one whose default ignores it is left alone. A resize and a
// continue always: the view is drawn again.
void catchAll()
{
    sigemptyset(&hold.caught);
    sigemptyset(&hold.events);
    for (int sig = 1; sig < slots; ++sig) {
        const bool uncatchable = sig == SIGKILL || sig == SIGSTOP;
        const bool fault = sig == SIGSEGV || sig == SIGBUS || sig == SIGFPE || sig == SIGILL;
        const bool event = sig == SIGWINCH || sig == SIGCONT;
        if (uncatchable || fault || sig == SIGCHLD || sig == SIGURG ||
            sigaction(sig, nullptr, &hold.callers[sig]) != 0 ||
            (!event && hold.callers[sig].sa_handler == SIG_IGN))
            continue;
        sigaddset(&hold.caught, sig);
        if (event)
            sigaddset(&hold.events, sig);
        if (!catchSignal(sig))
            terminalNotRestored();
    }
}

} // namespace

void holdTerminal(int fd)
{
    if (hold.depth++ > 0 || fd < 0)
        return;
    if (tcgetattr(fd, &hold.found) != 0) {
        hold.depth = 0;
        return;
    }
    if (!hold.registered)
        hold.registered = std::atexit(releaseStepKeys) == 0;
    hold.fd = fd;
    if (sigprocmask(SIG_BLOCK, nullptr, &hold.mask) != 0)
        terminalNotRestored();
    catchAll();
    if (sigprocmask(SIG_BLOCK, &hold.events, nullptr) != 0 || !setWaitMode())
        terminalNotRestored();
}

void releaseTerminal()
{
    if (hold.depth == 0 || --hold.depth > 0 || hold.fd < 0)
        return;
    bool restored = tcsetattr(hold.fd, TCSANOW, &hold.found) == 0;
    for (int sig = 1; sig < slots; ++sig)
        if (sigismember(&hold.caught, sig) == 1)
            restored = sigaction(sig, &hold.callers[sig], nullptr) == 0 && restored;
    restored = sigprocmask(SIG_SETMASK, &hold.mask, nullptr) == 0 && restored;
    hold.fd = -1;
    sayFailed();
    if (!restored)
        terminalNotRestored();
}

int heldTerminal() { return hold.fd; }

void standingHint(const char* erase, int length)
{
    hold.erase = erase;
    hold.eraseLength = length;
}

int sleepOn(const timespec* limit)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(hold.fd, &readable);
    sigset_t open = hold.mask; // the mask as found lets the events through
    for (int sig = 1; sig < slots; ++sig)
        if (sigismember(&hold.events, sig) == 1)
            sigdelset(&open, sig);
    const int ready = pselect(hold.fd + 1, &readable, nullptr, nullptr, limit, &open);
    return ready > 0 ? 1 : ready;
}

int waitForByte(unsigned char& byte, bool events)
{
    for (;;) {
        if (!inForeground()) {
            // A background job stops, as any reader of its terminal, until
            // it is brought to the foreground, however often bg continues
            // it; one that cannot stop does not wait.
            hold.resumed = 0;
            if (sigismember(&hold.caught, SIGTTIN) != 1)
                return 0;
            raise(SIGTTIN);
            if (hold.resumed == 0)
                return 0;
            continue;
        }
        if (events && hold.redraw != 0) {
            hold.redraw = 0;
            return -1;
        }
        const int ready = sleepOn(nullptr);
        sayFailed();
        if (ready == 1) {
            const ssize_t n = read(hold.fd, &byte, 1);
            if (n == 1)
                return 1;
            if (n == 0 || errno != EINTR)
                return 0;
        } else if (errno != EINTR) {
            return 0;
        }
        if (!events)
            hold.redraw = 0; // the plain key wait draws nothing again
    }
}

void releaseStepKeys()
{
    while (hold.depth > 0)
        releaseTerminal();
}

void prepareInput() {}

int terminalColumns()
{
    // Asked at every drawing, for a resized window; output that is no
    // terminal stays none, and is not asked again.
    winsize size{};
    if (hold.noTerminal || ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) {
        hold.noTerminal = true;
        return 0;
    }
    return size.ws_col;
}

bool keyWaits()
{
    termios settings{};
    const int fd = fileno(stdin);
    return fd >= 0 && isatty(fd) != 0 && tcgetattr(fd, &settings) == 0;
}

namespace {

// The terminal --step reads its keys from: -1 where there is none, or
// where standard output is no terminal to show the steps on.
int stepKeys()
{
    int& fd = hold.keysFd;
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

} // namespace

int stepKeysFd() { return stepKeys(); }

bool stepKeysReady() { return stepKeys() >= 0; }

bool stepKeysFromInput()
{
    // Standard input is the controlling terminal when its session is ours.
    return stepKeysReady() && isatty(STDIN_FILENO) != 0 &&
           (stepKeys() == STDIN_FILENO || tcgetsid(STDIN_FILENO) == getsid(0));
}
