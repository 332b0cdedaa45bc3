#include "console.h"

#include "draw.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>

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

void startProgram(int argc, char** argv, const char* what, const char* input)
{
    nameProgram(argc > 0 ? argv[0] : nullptr);
    prepareInput();
    if (argc != 2)
        return;
    if (std::strcmp(argv[1], "--draw") == 0) {
        drawing = true;
        return;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: %.*s [--help | --version | --draw]\n\n%s\n%s\n"
                    "With --draw it also draws the list and its pointers at every step.\n\n",
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

std::int32_t toInt32(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    // At most 11 digits: far from where strtoll would stop at its limit.
    std::uint64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(*p - '0');
    // Narrowing keeps the low 32 bits, as a cast of the 64-bit value does.
    auto low = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    return static_cast<std::int32_t>(low);
}

const char* formatField5(std::int32_t value, char (&field)[12])
{
    char* start = std::end(field);
    auto magnitude = static_cast<std::uint32_t>(value);
    if (value < 0)
        magnitude = 0 - magnitude;
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--start = '-';
    while (std::end(field) - start < 5)
        *--start = ' ';
    return start;
}

void printField5(std::int32_t value)
{
    char field[12];
    for (const char* c = formatField5(value, field); c != std::end(field); ++c)
        putByte(*c, stdout);
}

void readError()
{
    std::fprintf(stderr, "%.*s: read error: %s\n", nameLength, programName, std::strerror(errno));
    std::exit(1);
}

void outOfMemory()
{
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

int terminalWidth()
{
    static int width = 0; // asked once: a drawing never changes it midway
    if (width > 0)
        return width;
    const char* columns = std::getenv("COLUMNS");
    if (columns != nullptr) {
        char* end = nullptr;
        long number = std::strtol(columns, &end, 10);
        if (end != columns && *end == '\0' && number > 0 && number <= 10000)
            width = static_cast<int>(number);
    }
    if (width == 0)
        width = terminalColumns();
    if (width == 0)
        width = 80;
    return width;
}
