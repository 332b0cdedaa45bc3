// The full-screen view's screen on POSIX systems: the terminal's alternate
// screen, while the program's own output is kept aside in memory (a stream
// of our own stands in for standard output), to be written out on the
// normal screen when the view closes. Memory, not a file: a full disk or a
// file size limit must lose nothing. Where it cannot be kept, the view
// closes and the output goes straight on.
#include "console.h"
#include "posix.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/types.h>
#include <unistd.h>

#if defined(__GLIBC__) || defined(__APPLE__) || defined(__FreeBSD__) || defined(__NetBSD__) ||     \
    defined(__OpenBSD__) || defined(__DragonFly__)
#define KEEPS_OUTPUT 1 // a stream of our own, standing in for stdout
#else
#define KEEPS_OUTPUT 0 // the view does not open: --step scrolls
#endif

namespace {

struct Screen {
    std::FILE* terminal = nullptr; // standard output's stream as found
    std::FILE* keeper = nullptr;   // ours, meanwhile
    char* kept = nullptr;          // the output kept aside
    std::size_t length = 0;
    std::size_t capacity = 0;
    bool spilled = false;    // the output could not be kept: the view is closed
    bool shown = false;      // the alternate screen is entered
    bool registered = false; // closeScreen at the exit
    long (*sink)(const char*, std::size_t) = nullptr; // where diverted output goes
};

Screen screen;
constexpr char enterAlternate[] = "\x1b[?1049h\x1b[?25l";
constexpr char leaveAlternate[] = "\x1b[?25h\x1b[?1049l";

bool writeAll(const char* text, std::size_t length)
{
    while (length > 0) {
        const ssize_t n = write(STDOUT_FILENO, text, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        text += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

// Room for more, with every signal held meanwhile: a handler that writes
// the kept output out never meets it half moved.
bool grow(std::size_t more)
{
    if (screen.length + more <= screen.capacity)
        return true;
    const std::size_t capacity = std::max(screen.capacity * 2, screen.length + more + 65536);
    sigset_t all;
    sigset_t was;
    sigfillset(&all);
    const bool held = sigprocmask(SIG_BLOCK, &all, &was) == 0;
    void* room = held ? std::realloc(screen.kept, capacity) : nullptr;
    if (room != nullptr) {
        screen.kept = static_cast<char*>(room);
        screen.capacity = capacity;
    }
    if (held && sigprocmask(SIG_SETMASK, &was, nullptr) != 0)
        terminalNotRestored();
    return room != nullptr;
}

// The output can no longer be kept: the view closes, what was kept is
// written out, and the output goes straight on from here.
void spill()
{
    screen.spilled = true;
    screenLeave();
    if (!writeAll(screen.kept, screen.length))
        outputLost();
    screen.length = 0;
}

long keep(const char* bytes, std::size_t n)
{
    if (!screen.spilled && grow(n)) {
        std::memcpy(screen.kept + screen.length, bytes, n);
        screen.length += n;
        return static_cast<long>(n);
    }
    if (!screen.spilled)
        spill();
    if (writeAll(bytes, n))
        return static_cast<long>(n);
    outputLost();
    return -1;
}

std::FILE* openKeeper()
{
#if defined(__GLIBC__)
    cookie_io_functions_t io = {};
    io.write = [](void*, const char* bytes, std::size_t n) -> ssize_t {
        return screen.sink != nullptr ? screen.sink(bytes, n) : keep(bytes, n);
    };
    return fopencookie(nullptr, "w", io);
#elif KEEPS_OUTPUT
    return funopen(
        nullptr, nullptr,
        [](void*, const char* bytes, int n) {
            const auto size = static_cast<std::size_t>(n);
            return static_cast<int>(screen.sink != nullptr ? screen.sink(bytes, size)
                                                           : keep(bytes, size));
        },
        nullptr, nullptr);
#else
    return nullptr;
#endif
}

// keeper in the place of standard output's stream until closeScreen; its
// bytes go to sink, or are kept for the view when sink is nullptr.
void standIn(std::FILE* keeper, long (*sink)(const char*, std::size_t))
{
    screen.terminal = stdout;
    screen.keeper = keeper;
    screen.sink = sink;
#if KEEPS_OUTPUT
    stdout = keeper;
#endif
    if (!screen.registered)
        screen.registered = std::atexit(closeScreen) == 0;
}

} // namespace

void screenLeave()
{
    if (screen.shown)
        writeAll(leaveAlternate, sizeof leaveAlternate - 1);
    screen.shown = false;
}

void screenEnter()
{
    if (screen.keeper != nullptr && !screen.spilled && !screen.shown)
        writeAll(enterAlternate, sizeof enterAlternate - 1);
    screen.shown = screen.keeper != nullptr && !screen.spilled;
}

void screenGiveBack()
{
    if (screen.keeper == nullptr || screen.spilled)
        return;
    screenLeave();
    writeAll(screen.kept, screen.length);
    screen.spilled = true;
    screen.length = 0;
}

bool openScreen(int leastColumns, int leastRows)
{
    if (screen.keeper != nullptr)
        return !screen.spilled;
    winsize size{};
    const char* term = std::getenv("TERM");
    if (!KEEPS_OUTPUT || term == nullptr || !hasAlternateScreen(term) || !stepKeysReady() ||
        ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col < leastColumns ||
        size.ws_row < leastRows)
        return false;
    flushOutput();
    std::FILE* keeper = openKeeper();
    // Unbuffered: every byte is kept before the call that wrote it returns,
    // so that a signal that ends the program finds it.
    if (keeper == nullptr || std::setvbuf(keeper, nullptr, _IONBF, 0) != 0) {
        if (keeper != nullptr)
            std::fclose(keeper);
        return false;
    }
    holdTerminal(stepKeysFd());
    standIn(keeper, nullptr);
    screenEnter();
    return true;
}

std::FILE* divertOutput(long (*sink)(const char* bytes, std::size_t n))
{
    if (!KEEPS_OUTPUT || screen.keeper != nullptr)
        return nullptr;
    flushOutput();
    std::FILE* keeper = openKeeper();
    if (keeper == nullptr)
        return nullptr;
    standIn(keeper, sink);
    return screen.terminal;
}

std::FILE* divertedTo() { return screen.sink != nullptr ? screen.terminal : nullptr; }

bool screenIsOpen()
{
    return screen.keeper != nullptr && !screen.spilled && screen.sink == nullptr;
}

bool screenSize(int& columns, int& rows)
{
    winsize size{};
    if (!screenIsOpen() || ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0)
        return false;
    columns = size.ws_col;
    rows = size.ws_row;
    return true;
}

void writeScreen(const char* text, std::size_t length)
{
    if (screenIsOpen())
        writeAll(text, length);
}

int keptOutput(char* buffer, int size, long end)
{
    const auto until =
        end < 0 ? screen.length : std::min(screen.length, static_cast<std::size_t>(end));
    const auto from =
        until > static_cast<std::size_t>(size) ? until - static_cast<std::size_t>(size) : 0;
    if (screenIsOpen())
        std::memcpy(buffer, screen.kept + from, until - from);
    return screenIsOpen() ? static_cast<int>(until - from) : 0;
}

long keptLength() { return screenIsOpen() ? static_cast<long>(screen.length) : 0; }

void closeScreen()
{
    if (screen.keeper == nullptr)
        return;
    flushOutput();
    if (screen.sink != nullptr) { // diverted: the stream put back, all written
#if KEEPS_OUTPUT
        stdout = screen.terminal;
#endif
        std::fclose(screen.keeper);
        screen = Screen{nullptr, nullptr, nullptr, 0, 0, false, false, screen.registered, nullptr};
        flushOutput();
        return;
    }
    screenLeave();
#if KEEPS_OUTPUT
    stdout = screen.terminal;
#endif
    std::fclose(screen.keeper);
    screen.keeper = nullptr;
    if (!screen.spilled && !writeAll(screen.kept, screen.length))
        outputLost();
    std::free(screen.kept);
    screen = Screen{nullptr, nullptr, nullptr, 0, 0, false, false, screen.registered, nullptr};
    releaseStepKeys();
}

namespace {

// A compiled terminfo description of term, from the folders the terminfo
// library looks in, into buffer; returns its length, 0 when none is found.
std::size_t readDescription(const char* term, unsigned char* buffer, std::size_t size)
{
    const char* home = std::getenv("HOME");
    const char* own = std::getenv("TERMINFO");
    char homeDir[512];
    std::snprintf(homeDir, sizeof homeDir, "%s/.terminfo", home != nullptr ? home : "");
    const char* const folders[] = {own,
                                   home != nullptr ? homeDir : nullptr,
                                   "/etc/terminfo",
                                   "/lib/terminfo",
                                   "/usr/share/terminfo",
                                   "/usr/lib/terminfo"};
    for (const char* folder : folders) {
        for (const char* form : {"%s/%c/%s", "%s/%02x/%s"}) { // the second, macOS's
            char path[1024];
            if (folder == nullptr || std::snprintf(path, sizeof path, form, folder, *term, term) >=
                                         static_cast<int>(sizeof path))
                continue;
            std::FILE* file = std::fopen(path, "rb");
            if (file == nullptr)
                continue;
            const std::size_t n = std::fread(buffer, 1, size, file);
            std::fclose(file);
            return n;
        }
    }
    return 0;
}

} // namespace

bool hasAlternateScreen(const char* term)
{
    if (*term == '\0' || std::string_view(term) == "dumb" || std::strchr(term, '/') != nullptr)
        return false;
    unsigned char d[8192];
    const std::size_t n = readDescription(term, d, sizeof d);
    const auto word = [&](std::size_t at) { return at + 1 < n ? d[at] | d[at + 1] << 8 : -1; };
    const int magic = word(0);
    if (magic != 0432 && magic != 01036)
        return true; // no description to go by: most terminals have one
    // The header, the names, the booleans (to an even offset), the numbers
    // (two or four bytes each), then the strings' offsets: enter_ca_mode,
    // the alternate screen, is string 28; -1 when it is absent.
    std::size_t at = 12 + static_cast<std::size_t>(word(2) + word(4));
    at += at % 2;
    at += static_cast<std::size_t>(word(6)) * (magic == 01036 ? 4 : 2);
    constexpr std::size_t smcup = 28;
    const int offset = word(at + 2 * smcup);
    return word(8) > static_cast<int>(smcup) && offset >= 0 && offset < 0xfffe; // -2: cancelled
}
