#include "console.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

const char* programName = "listprograms"; // should argv[0] be missing
int nameLength = 12;

bool isSeparator(char c)
{
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

void nameProgram(const char* argv0)
{
    if (argv0 == nullptr)
        return;
    const char* end = argv0 + std::strlen(argv0);
    while (end > argv0 && isSeparator(end[-1])) // "bin/fifolist/" is fifolist too
        --end;
    const char* start = end;
    while (start > argv0 && !isSeparator(start[-1]))
        --start;
    auto n = end - start;
#ifdef _WIN32
    if (n > 4 && _strnicmp(end - 4, ".exe", 4) == 0)
        n -= 4;
#endif
    if (n == 0)
        return; // "/" names nothing: keep the default
    programName = start;
    nameLength = static_cast<int>(n);
}

} // namespace

bool drawing = false;
bool stepping = false;
int (*typedInput)() = nullptr;
void (*onStepping)() = nullptr;

void startProgram(int argc, char** argv, const char* what, const char* input)
{
    nameProgram(argc > 0 ? argv[0] : nullptr);
    prepareInput();
    if (argc != 2)
        return;
    stepping = std::strcmp(argv[1], "--step") == 0;
    if (stepping || std::strcmp(argv[1], "--draw") == 0) {
        drawing = true;
        if (stepping && onStepping != nullptr)
            onStepping();
        return;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: %.*s [--help | --version | --draw | --step]\n\n%s\n%s\n"
                    "With --draw it also draws the list and its pointers at every step;\n"
                    "with --step it shows them a step at a time, its keys on screen.\n\n",
                    nameLength, programName, what, input);
#ifdef _WIN32
        std::printf("More in README.md, beside the program.\n");
#else
        std::printf("Manual page: man %.*s\n", nameLength, programName);
#endif
    } else if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%.*s (listprograms) %s\n", nameLength, programName, LISTPROGRAMS_VERSION);
    } else {
        return;
    }
    std::exit(finishOutput());
}

namespace {

// readLine's loop, over the characters next gives: the typed input is
// asked once a line, not once a character.
template <class Next> bool readLineFrom(char* buf, std::size_t size, Next next)
{
    std::size_t n = 0;
    bool any = false;
    bool lastKept = false; // whether the last character read went into buf
    int last = 0;
    int c;
    while ((c = next()) != EOF && c != '\n') {
        any = true;
        last = c;
        lastKept = n + 1 < size;
        if (lastKept)
            buf[n++] = static_cast<char>(c);
    }
    if (last == '\r' && lastKept)
        --n;
    buf[n] = '\0';
    return any || c == '\n';
}

} // namespace

bool readLine(char* buf, std::size_t size, std::FILE* in)
{
    if (drawing)
        flushOutput(); // every drawing is on the screen before we block
    if (typedInput != nullptr && in == stdin)
        return readLineFrom(buf, size, typedInput);
    return readLineFrom(buf, size, [in] { return readByte(in); });
}

namespace {

// Whether the terminal takes ECMA-48's erase: every one but a dumb one
// does, and the Windows console is not asked to.
bool erases()
{
#ifdef _WIN32
    return false;
#else
    const char* term = std::getenv("TERM");
    return term != nullptr && *term != '\0' && std::strcmp(term, "dumb") != 0;
#endif
}

} // namespace

void showHint(const char* hint)
{
    // The cursor goes back to the hint's start: a window that narrows and
    // rewraps the hint still has the cursor where its erasure must begin.
    std::fputs(hint, stdout);
    if (erases())
        std::fputs("\r", stdout);
    flushOutput();
}

void eraseHint(const char* hint)
{
    if (erases())
        std::fputs("\r\x1b[J", stdout);
    else
        std::printf("\r%*s\r", static_cast<int>(std::strlen(hint)), "");
    flushOutput();
}

void terminalNotRestored()
{
    static bool said = false;
    if (!said)
        std::fprintf(stderr, "%.*s: terminal not restored: %s\n", nameLength, programName,
                     std::strerror(errno));
    said = true;
}

void readError()
{
    closeScreen();
    std::fprintf(stderr, "%.*s: read error: %s\n", nameLength, programName, std::strerror(errno));
    std::exit(1);
}

void outOfMemory()
{
    closeScreen();
    std::fprintf(stderr, "%.*s: out of memory\n", nameLength, programName);
    std::exit(1);
}

namespace {
int firstWriteError = 0;
}

void flushOutput()
{
    // A write that failed inside puts or printf leaves its reason in errno
    // alone, and only until the next call that sets it.
    if (std::ferror(stdout) && firstWriteError == 0)
        firstWriteError = errno;
    errno = 0;
    if (std::fflush(stdout) != 0 && firstWriteError == 0)
        firstWriteError = errno;
}

int finishOutput()
{
    flushOutput();
    if (!std::ferror(stdout))
        return 0;
    // Should no call have said why, the reason is a plain I/O error.
    int reason = firstWriteError != 0 ? firstWriteError : EIO;
    std::fprintf(stderr, "%.*s: write error: %s\n", nameLength, programName, std::strerror(reason));
    return 1;
}
