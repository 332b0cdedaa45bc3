// Line reading, and the checked end of output.
#include "console.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

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
    if (console.drawing)
        flushOutput(); // every drawing is on the screen before we block
    if (console.typedInput != nullptr && in == stdin)
        return readLineFrom(buf, size, console.typedInput);
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

int eraseHintText(const char* hint, char* out, std::size_t size)
{
    const int n =
        erases() ? std::snprintf(out, size, "\r\x1b[J")
                 : std::snprintf(out, size, "\r%*s\r", static_cast<int>(std::strlen(hint)), "");
    return std::clamp(n, 0, static_cast<int>(size) - 1);
}

void eraseHint(const char* hint)
{
    char erase[256];
    std::fwrite(erase, 1, static_cast<std::size_t>(eraseHintText(hint, erase, sizeof erase)),
                stdout);
    flushOutput();
}

namespace {
int firstWriteError = 0;
}

void outputLost()
{
    if (firstWriteError == 0)
        firstWriteError = errno != 0 ? errno : EIO;
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
    std::FILE* diverted = divertedTo();
    if (diverted != nullptr && (std::fflush(diverted) != 0 || std::ferror(diverted)) &&
        firstWriteError == 0)
        firstWriteError = errno != 0 ? errno : EIO;
}

int finishOutput()
{
    if (console.onFinish != nullptr)
        console.onFinish();
    flushOutput();
    if (!std::ferror(stdout) && firstWriteError == 0)
        return 0;
    // Should no call have said why, the reason is a plain I/O error.
    reportError("write error", firstWriteError != 0 ? firstWriteError : EIO);
    return 1;
}
