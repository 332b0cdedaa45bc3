// The command line and the fatal errors, named after the program.
#include "console.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// The program's name for messages, and what was said once.
struct Identity {
    const char* name = "listprograms"; // should argv[0] be missing
    int length = 12;
    bool notRestoredSaid = false;
};

Identity self;

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
    self.name = start;
    self.length = static_cast<int>(n);
}

} // namespace

Console console;

void startProgram(int argc, char** argv, const char* what, const char* input)
{
    nameProgram(argc > 0 ? argv[0] : nullptr);
    prepareInput();
    if (argc != 2)
        return;
    console.stepping = std::strcmp(argv[1], "--step") == 0;
    console.tracing = std::strcmp(argv[1], "--trace") == 0;
    if (console.stepping || console.tracing || std::strcmp(argv[1], "--draw") == 0) {
        console.drawing = true;
        if (console.stepping && console.onStepping != nullptr)
            console.onStepping();
        if (console.tracing && console.onTracing != nullptr)
            console.onTracing();
        return;
    }
    if (std::strcmp(argv[1], "--help") == 0) {
        std::printf("Usage: %.*s [--help | --version | --draw | --step | --trace]\n\n%s\n%s\n"
                    "With --draw it also draws the list and its pointers at every step;\n"
                    "with --step it shows them a step at a time, its keys on screen; with\n"
                    "--trace it writes its output and every step as JSON, a record a line.\n\n",
                    self.length, self.name, what, input);
        if (console.keysHelp != nullptr) {
            console.keysHelp(stdout);
            std::printf("\n");
        }
#ifdef _WIN32
        std::printf("More in README.md, beside the program.\n");
#else
        std::printf("Manual page: man %.*s\n", self.length, self.name);
#endif
    } else if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%.*s (listprograms) %s\n", self.length, self.name, LISTPROGRAMS_VERSION);
    } else {
        return;
    }
    std::exit(finishOutput());
}

void terminalNotRestored()
{
    if (!self.notRestoredSaid)
        reportError("terminal not restored", errno);
    self.notRestoredSaid = true;
}

void readError()
{
    const int reason = errno; // before closing the screen sets it
    closeScreen();
    reportError("read error", reason);
    std::exit(1);
}

void outOfMemory()
{
    closeScreen();
    reportError("out of memory", 0);
    std::exit(1);
}

void reportError(const char* what, int reason)
{
    if (reason != 0)
        std::fprintf(stderr, "%.*s: %s: %s\n", self.length, self.name, what, std::strerror(reason));
    else
        std::fprintf(stderr, "%.*s: %s\n", self.length, self.name, what);
}
