// The console in a browser page (WebAssembly, built with emscripten):
// standard input and output come from and go to the page, which keeps the
// program's output bytes itself. There is no terminal: no width, no step
// keys, no view; a key wait returns at once, for the page has its step in
// its place. --trace's records go to a device of the page's own,
// /dev/trace, a record a line.
#include "console.h"

#include <cstdio>

namespace {

std::FILE* records = nullptr; // /dev/trace, once opened

} // namespace

// A byte at a time from the page, so that it knows which step each line
// it gave was read at.
void prepareInput() { std::setvbuf(stdin, nullptr, _IONBF, 0); }

int terminalColumns() { return 0; }

// A key wait is a step of its own in the page: the program says so, and
// goes on.
bool keyWaits() { return true; }

void waitForKey() { flushOutput(); }

bool stepKeysReady() { return false; }

bool stepKeysFromInput() { return false; }

KeyPress readStepKey(const char* /*hint*/)
{
    KeyPress press;
    press.kind = KeyPress::Kind::hangUp;
    return press;
}

void releaseStepKeys() {}

bool openScreen(int /*leastColumns*/, int /*leastRows*/) { return false; }

bool screenIsOpen() { return false; }

bool screenSize(int& /*columns*/, int& /*rows*/) { return false; }

void writeScreen(const char* /*text*/, std::size_t /*length*/) {}

int keptOutput(char* /*buffer*/, int /*size*/, long /*end*/) { return 0; }

long keptLength() { return 0; }

void closeScreen() { flushOutput(); }

// The page reads standard output as it comes, and puts it in its records
// itself: the output stays where it is, and the records go to the page's
// device.
std::FILE* divertOutput(long (* /*sink*/)(const char* bytes, std::size_t n))
{
    records = std::fopen("/dev/trace", "w");
    if (records != nullptr)
        std::setvbuf(records, nullptr, _IOLBF, BUFSIZ);
    return records;
}

std::FILE* divertedTo() { return records; }
