// libFuzzer target over all seven programs: the first byte picks one (and
// whether it draws, with --draw, at 36 columns), the rest is its standard
// input. Every input also checks the hand-written conversions of the
// integer list against the C library's. Each program's main is compiled
// in under its own name and runs here as it would in its own process, on an
// in-memory standard input, with its output thrown away.
//
// The programs leave their lists to the process exit. A fuzzing process
// runs them millions of times, so it does what the exit would do: every
// block a run allocated and did not release is released after the run.
#include "console.h"
#include "intlist.h"
#include "inttext.h"
#include "scene.h"

#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

// programs.inc lists PROGRAM(name) for every program, in the build's order.
#define PROGRAM(name) int name##_main(int argc, char** argv);
#include "programs.inc"
#undef PROGRAM

// The programs' own sources are shown only by --step's view, never here.
const SourceFile programSources[] = {{"", ""}};
const int programSourceCount = 0;

namespace {

constexpr int (*programs[])(int, char**) = {
#define PROGRAM(name) name##_main,
#include "programs.inc"
#undef PROGRAM
};

// Blocks allocated during a run and not yet released. The hooks must not
// allocate, so this is a fixed table.
constexpr std::size_t capacity = 1 << 16;
const volatile void* live[capacity];
std::size_t liveCount = 0;
bool recording = false;

void onAlloc(const volatile void* p, std::size_t)
{
    if (!recording)
        return;
    if (liveCount == capacity) {
        std::fputs("fuzz_programs: too many blocks in one run\n", stderr);
        std::abort();
    }
    live[liveCount++] = p;
}

void onFree(const volatile void* p)
{
    for (std::size_t i = liveCount; i-- > 0;) {
        if (live[i] == p) {
            live[i] = live[--liveCount];
            return;
        }
    }
}

// toInt32 (on the first 11 characters) and formatField5 must give what
// (int32_t)strtoll (64-bit glibc's atoi) and printf("%5d") give; a difference stops the run.
void checkConversions(const char* whole, std::int32_t value)
{
    char text[12] = {}; // all that the line buffer holds
    std::strncpy(text, whole, 11);
    auto expected = static_cast<std::int32_t>(std::strtoll(text, nullptr, 10));
    char field[12];
    char printed[16];
    const char* start = formatField5(value, field);
    auto n = static_cast<std::size_t>(std::end(field) - start);
    int m = std::snprintf(printed, sizeof printed, "%5d", value);
    if (toInt32(text) == expected && n == static_cast<std::size_t>(m) &&
        std::memcmp(start, printed, n) == 0)
        return;
    std::fprintf(stderr, "conversion differs: text \"%s\" gives %d, not %d; %d gives \"%.*s\"\n",
                 text, toInt32(text), expected, value, static_cast<int>(n), start);
    std::abort();
}

// The edges: the 32-bit range and past it, white space, signs, and the
// most an 11-character line holds.
void checkEdges()
{
    const char* texts[] = {"0",           "-0",          "+0",          "2147483647",
                           "2147483648",  "-2147483648", "-2147483649", "4294967295",
                           "4294967296",  "99999999999", "-9999999999", " \t\n\v\f\r+12x",
                           "+-1",         "- 1",         "--1",         "",
                           "10000000000", "92233720368", "12abc",       "\2005"};
    const std::int32_t values[] = {
        0,     1,     -1,     9,      -9,      99,        -99,       9999,
        -9999, 99999, -99999, 100000, -100000, INT32_MAX, INT32_MIN, INT32_MIN + 1};
    for (const char* text : texts)
        for (std::int32_t value : values)
            checkConversions(text, value);
}

char inBuffer[BUFSIZ];
char outBuffer[BUFSIZ];

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    __sanitizer_install_malloc_and_free_hooks(onAlloc, onFree);
    // Buffers of our own, so that stdio allocates nothing during a run.
    stdout = std::fopen("/dev/null", "w");
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    checkEdges();
    setenv("COLUMNS", "36", 1); // narrow: the drawings elide and clip
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The input's first 11 bytes as a line, and its first 4 as a value.
    char text[12] = {};
    std::memcpy(text, data, size < 11 ? size : 11);
    std::uint32_t bits = 0;
    std::memcpy(&bits, data, size < 4 ? size : 4);
    checkConversions(text, static_cast<std::int32_t>(bits));

    auto program = programs[data[0] % std::size(programs)];
    // fmemopen wants a non-empty buffer even for empty input.
    static char empty[1];
    FILE* in = size > 1 ? fmemopen(const_cast<std::uint8_t*>(data + 1), size - 1, "r")
                        : fmemopen(empty, 1, "r");
    if (size == 1)
        std::fgetc(in); // now at the end: no input at all
    std::setvbuf(in, inBuffer, _IOFBF, sizeof inBuffer);
    std::FILE* realIn = stdin;
    stdin = in;

    static char name[] = "fuzz_programs";
    static char draw[] = "--draw";
    bool drawn = data[0] / std::size(programs) % 2 == 1;
    char* argv[] = {name, drawn ? draw : nullptr, nullptr};
    // As a fresh process has them: the last run's nodes are released.
    console.drawing = false;
    head = tail = cursor = nullptr;
    recording = true;
    program(drawn ? 2 : 1, argv);
    recording = false;

    stdin = realIn;
    std::fclose(in);
    // What is left are the nodes the program kept until its exit, all made
    // with malloc. The compiler may assume free leaves liveCount alone, so
    // the table is emptied first and the hook finds nothing to remove.
    std::size_t left = liveCount;
    liveCount = 0;
    for (std::size_t i = 0; i < left; ++i)
        std::free(const_cast<void*>(live[i]));
    return 0;
}
