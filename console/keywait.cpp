// The key wait is the one place that knows about terminals. Whatever way the
// program leaves the wait (a key, a signal that ends it, a stop), the
// terminal gets back the exact settings it had before.
#include "console.h"

#include <cerrno>
#include <csignal>
#include <termios.h>
#include <unistd.h>

namespace {

int ttyFd = -1;
termios found{};   // the settings the terminal had
termios waiting{}; // non-canonical, no echo: one byte completes a read

constexpr int endingSignals[] = {SIGINT, SIGHUP, SIGTERM, SIGQUIT};

struct sigaction previous[NSIG];

void onEndingSignal(int sig)
{
    tcsetattr(ttyFd, TCSANOW, &found);
    // Die of the same signal, so the parent sees what happened: with the
    // default action back, the signal pending from raise() ends us as soon
    // as the handler returns and unblocks it.
    signal(sig, SIG_DFL);
    raise(sig);
}

void onStop(int /*sig*/)
{
    int saved = errno;
    tcsetattr(ttyFd, TCSANOW, &found);
    signal(SIGTSTP, SIG_DFL);
    raise(SIGTSTP); // stops once this handler returns
    errno = saved;
}

void onContinue(int /*sig*/)
{
    int saved = errno;
    struct sigaction act = {};
    act.sa_handler = onStop;
    sigaction(SIGTSTP, &act, nullptr);
    tcsetattr(ttyFd, TCSANOW, &waiting);
    errno = saved;
}

void handle(int sig, void (*handler)(int))
{
    struct sigaction act = {};
    act.sa_handler = handler;
    sigaction(sig, nullptr, &previous[sig]);
    // A signal the caller chose to ignore (nohup, a background job) stays ignored.
    if (previous[sig].sa_handler != SIG_IGN)
        sigaction(sig, &act, nullptr);
}

} // namespace

void waitForKey()
{
    flushOutput(); // everything printed so far is on the screen while we wait
    int fd = fileno(stdin);
    if (fd < 0 || !isatty(fd) || tcgetattr(fd, &found) != 0)
        return;
    ttyFd = fd;
    waiting = found;
    waiting.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    waiting.c_cc[VMIN] = 1;
    waiting.c_cc[VTIME] = 0;

    for (int sig : endingSignals)
        handle(sig, onEndingSignal);
    handle(SIGTSTP, onStop);
    handle(SIGCONT, onContinue);

    // TCSANOW, not TCSAFLUSH: keys typed ahead count as the key press.
    tcsetattr(fd, TCSANOW, &waiting);
    // Straight from the descriptor: stdio's buffer still holds the end of the
    // line that was read last, and that must not count as the key.
    char key;
    while (read(fd, &key, 1) < 0 && errno == EINTR) {
    }

    // Handlers first, so a late SIGCONT cannot re-apply the wait mode.
    for (int sig : endingSignals)
        sigaction(sig, &previous[sig], nullptr);
    sigaction(SIGTSTP, &previous[SIGTSTP], nullptr);
    sigaction(SIGCONT, &previous[SIGCONT], nullptr);
    tcsetattr(fd, TCSANOW, &found);
}
