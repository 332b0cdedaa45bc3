#include "console.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

bool readLine(char* buf, std::size_t size, std::FILE* in)
{
    std::size_t n = 0;
    bool any = false;
    bool lastKept = false; // whether the last character read went into buf
    int last = 0;
    int c;
    while ((c = readChar(in)) != EOF && c != '\n') {
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

void readError()
{
    std::fprintf(stderr, "%s: read error: %s\n", program_invocation_short_name,
                 std::strerror(errno));
    std::exit(1);
}

void outOfMemory()
{
    std::fprintf(stderr, "%s: out of memory\n", program_invocation_short_name);
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
    std::fprintf(stderr, "%s: write error: %s\n", program_invocation_short_name,
                 std::strerror(reason));
    return 1;
}
