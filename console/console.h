// What every list program needs from the console beyond the C standard
// I/O calls it makes itself. This folder is the only code that knows which
// system it runs on, one job a file:
// - program.cpp: the command line and the fatal errors;
// - io.cpp: line reading and the checked end of output;
// - keys_posix.cpp: a key's bytes into a KeyPress;
// - terminal_posix.cpp: the terminal held in its wait mode, and given back
//   however the program ends or stops;
// - screen_posix.cpp: the full-screen view's screen, and the output kept
//   aside meanwhile;
// - terminal_windows.cpp: the last three on the Windows console.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>

// The first step of every program. Takes its name for messages from
// argv[0], without the folders (and, on Windows, ".exe"). A lone --help
// prints what the program does (what), how to type its input (input) and
// where its manual page is; a lone --version its name and version; either
// ends the program there, without reading. A lone --draw turns drawing on,
// a lone --step stepping too. Other arguments are ignored.
void startProgram(int argc, char** argv, const char* what, const char* input);

// How the program was started, and what the stepper hooks into the
// console: one object, set by startProgram and the stepper.
struct Console {
    // Started with --draw alone: the list is then drawn at every step
    // (draw.h).
    bool drawing = false;
    // Started with --step alone: it also waits for a key after every
    // drawing, where keys can be read (stepKeysReady).
    bool stepping = false;
    // Started with --trace alone: the drawings and the output are written
    // as JSON records instead (draw/trace.cpp).
    bool tracing = false;
    // Called by startProgram when tracing, before anything is read or
    // written: the tracer sets it.
    void (*onTracing)() = nullptr;
    // Called by startProgram when stepping, before anything is read or
    // written: the stepper sets it, to open its view.
    void (*onStepping)() = nullptr;
    // Called by finishOutput first, when set: the stepper's view stays at
    // its last step until it is left.
    void (*onFinish)() = nullptr;
    // Called by waitForKey instead of its own wait, when set: returns
    // whether it took the key (the view's key wait, a step of its own).
    bool (*keyWait)() = nullptr;
    // While set, standard input's characters come from it instead (a line
    // typed in the full-screen view), EOF at the end of input.
    int (*typedInput)() = nullptr;
    // Prints --step's keys, for --help.
    void (*keysHelp)(std::FILE* out) = nullptr;
};
extern Console console;

// Input either succeeds or ends the program: a failed read is never taken
// for the end of input.

// Ends the program: "<program>: read error: <reason>" on standard error,
// status 1, where errno holds the reason.
[[noreturn]] void readError();

// getc and putc without a lock per character, where the C library has
// them (the Windows C runtimes do not): one thread reads and writes.
#ifdef _WIN32
inline int getByte(std::FILE* in) { return std::getc(in); }
inline void putByte(char c, std::FILE* out) { std::putc(c, out); }
#else
inline int getByte(std::FILE* in) { return getc_unlocked(in); }
inline void putByte(char c, std::FILE* out) { putc_unlocked(c, out); }
#endif

// getc, except that a failed read ends the program through readError.
inline int readByte(std::FILE* in)
{
    int c = getByte(in);
    if (c == EOF && std::ferror(in))
        readError();
    return c;
}

// readByte, or for standard input the typed input while there is one.
inline int readChar(std::FILE* in)
{
    return console.typedInput != nullptr && in == stdin ? console.typedInput() : readByte(in);
}

// Reads one line into buf as gets would (end-of-line dropped, NUL added),
// but never writes past size bytes: the rest of an overlong line is read and
// thrown away. A carriage return that ends the line is dropped too, so CRLF
// input behaves like typed input. End of input ends the line; returns false
// only when no character at all was left to read (buf is then empty).
bool readLine(char* buf, std::size_t size, std::FILE* in);

// Ends the program: "<program>: out of memory" on standard error, status 1.
[[noreturn]] void outOfMemory();

// Room for one node, released with std::free; ends the program through
// outOfMemory when there is none. malloc, not new: the C++ runtime reports
// failure with an exception, and when memory is that tight the exception
// itself cannot be made.
template <class Node> Node* allocateNode()
{
    auto* node = static_cast<Node*>(std::malloc(sizeof(Node)));
    if (node == nullptr)
        outOfMemory();
    return node;
}

// Flushes standard output now (before waiting for input, say, and after
// every listing), keeping the reason of the first failure for finishOutput.
void flushOutput();

// Flushes standard output and returns the exit status: 0, or 1 after
// "<program>: write error: <reason>" on standard error when output was lost.
int finishOutput();

// Output was lost outside standard output's stream (the kept output,
// written back): errno says why, and finishOutput says so.
void outputLost();

// The width of the terminal on standard output; 0 when it is none.
int terminalColumns();

// Readies standard input (startProgram calls it): on Windows, a pipe or a
// file is read in binary mode, as on every other system.
void prepareInput();

// Whether standard input is a terminal (the console on Windows), where
// waitForKey waits.
bool keyWaits();

// Waits for one key press at the terminal on standard input, without echo.
// Returns at once when standard input is not a terminal.
void waitForKey();

// --step's keys. They come from the terminal (the controlling one, else
// standard input when it is a terminal; the console on Windows), not from
// standard input, so that prepared input can be stepped through. What each
// does is the stepper's to say; here they are only told apart.
struct KeyPress {
    enum class Kind {
        text,      // a character: its bytes, a UTF-8 one whole
        enter,     // Enter
        backspace, // Backspace
        left,      // the arrows, Home, End
        right,
        home,
        end,
        escape,     // Esc alone
        endOfInput, // Ctrl-D
        hangUp,     // the end of input or a read error at the terminal
        redraw,     // no key: the terminal was resized, or continued after a stop
        other,      // any other key
    };
    Kind kind = Kind::other;
    char text[32] = {}; // several characters when they came at once (a paste)
    int length = 0;
    bool repeat = false; // the same key as the last, within a key repeat's time
};

// Whether --step's keys can be read, and standard output is a terminal to
// show the steps on. Asked once.
bool stepKeysReady();

// Whether the keys come from the terminal that standard input is: the
// typing of the input then paces the drawings.
bool stepKeysFromInput();

// Waits for one whole key at that terminal, without echo, as waitForKey
// does (signals too), with hint (if any) standing on the screen meanwhile.
// From the first call on, echo stays off at that terminal until
// releaseStepKeys.
KeyPress readStepKey(const char* hint);

// The full-screen view's screen: the terminal's alternate screen, opened
// where standard output is a terminal of at least the size given, keys can
// be read, and the terminal's description has an alternate screen.
// Meanwhile the program's own output is kept aside, in memory, to be shown
// on the normal screen when the screen closes, as a plain run would have
// shown it; the terminal's settings and that output come back however the
// program ends or stops (Ctrl-Z leaves the screen; a continue enters it
// again, and the next key is a redraw). Should the output not be kept,
// the screen closes and the output goes straight on.
bool openScreen(int leastColumns, int leastRows);
bool screenIsOpen();
bool screenSize(int& columns, int& rows);
void writeScreen(const char* text, std::size_t length);
// The bytes of the output kept aside, up to end (-1: all of it), at most
// size of the last; returns how many.
int keptOutput(char* buffer, int size, long end);
// How many bytes of output are kept aside so far.
long keptLength();

// Standard output's stream replaced by one whose bytes go to sink, which
// returns how many it took (-1: an error, with errno set); returns the
// stream replaced, for sink to write to, or nullptr where the system
// cannot replace it (nothing is changed then). flushOutput and
// finishOutput flush both, and closeScreen puts the stream back.
std::FILE* divertOutput(long (*sink)(const char* bytes, std::size_t n));

// The stream standard output was diverted from, or nullptr.
std::FILE* divertedTo();
void closeScreen();

// The key terminal as it was found again (also at the exit, and before a
// signal ends or stops the program).
void releaseStepKeys();

// A hint on the last line of a terminal, without end-of-line, and its
// erasure, which leaves the cursor at the start of that empty line.
void showHint(const char* hint);
void eraseHint(const char* hint);
// The bytes that erase hint, into out; returns how many.
int eraseHintText(const char* hint, char* out, std::size_t size);

// "<program>: what: <reason>" on standard error (reason an errno value;
// 0: none).
void reportError(const char* what, int reason);

// Says on standard error, once, that the terminal's settings (or the
// signal dispositions met on entry) could not be put back: errno says why.
void terminalNotRestored();
