// libFuzzer target over all seven programs: the first byte picks one, the
// rest is its standard input. Each program's main is compiled in under its
// own name and runs here as it would in its own process, on an in-memory
// standard input, with its output thrown away.
//
// The programs leave their lists to the process exit. A fuzzing process
// runs them millions of times, so it does what the exit would do: every
// block a run allocated and did not release is released after the run.
#include <sanitizer/allocator_interface.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

// programs.inc lists PROGRAM(name) for every program, in the build's order.
#define PROGRAM(name) int name##_main(int argc, char** argv);
#include "programs.inc"
#undef PROGRAM

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

char inBuffer[BUFSIZ];
char outBuffer[BUFSIZ];

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    __sanitizer_install_malloc_and_free_hooks(onAlloc, onFree);
    // Buffers of our own, so that stdio allocates nothing during a run.
    stdout = std::fopen("/dev/null", "w");
    std::setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
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
    static char* argv[] = {name, nullptr};
    recording = true;
    program(1, argv);
    recording = false;

    stdin = realIn;
    std::fclose(in);
    // What is left are the nodes the program kept until its exit; all were
    // made with malloc.
    // The compiler may assume free leaves liveCount alone, so the hook must
    // have nothing to remove while we release.
    std::size_t left = liveCount;
    liveCount = 0;
    for (std::size_t i = 0; i < left; ++i)
        std::free(const_cast<void*>(live[i]));
    return 0;
}
