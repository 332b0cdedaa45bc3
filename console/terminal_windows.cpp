// The console on Windows: its width, its own key read without echo, and
// input that is not the console read as the bytes it holds.
#include "console.h"

#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// _isatty is true for every character device (NUL too); the console's own
// mode query is true for the console alone.
bool inputIsConsole()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

} // namespace

void prepareInput()
{
    // Text mode would drop a CR before every CRLF and end all input at a
    // 0x1A byte; a pipe or a file gives its bytes, and readLine's one CR
    // rule is the only one. The console keeps text mode, where Ctrl-Z at
    // the start of a line ends input as people expect there.
    if (!inputIsConsole())
        _setmode(_fileno(stdin), _O_BINARY);
}

int terminalColumns()
{
    // Asked at every drawing, for a resized window; output that is no
    // console stays none, and is not asked again.
    static bool noConsole = false;
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (noConsole || GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &screen) == 0) {
        noConsole = true;
        return 0;
    }
    // The console wraps a line that fills its last column, and the line
    // after it then shows up empty: a drawn line stops one short.
    return screen.srWindow.Right - screen.srWindow.Left;
}

namespace {

// One key press from the console's own input, without echo. An arrow or a
// function key comes as a prefix (0 or 0xE0) and a code, a character
// outside the BMP as two UTF-16 codes, each pair at once. So a second code
// is read only when one is waiting: a typed U+00E0, which is the prefix's
// value too, is a key by itself. Returns the first code, and the second in
// code (0 when there is none).
wint_t readKey(wint_t& code)
{
    // Wine's _kbhit does not see an arrow's second code: there the prefix
    // comes as a key of its own, and is taken with the code that follows
    // when that is one of the arrows' and editing keys' (G to S).
    static wint_t prefixAlone = 0;
    wint_t key = _getwch();
    if (prefixAlone != 0 && key >= 'G' && key <= 'S') {
        code = key;
        key = prefixAlone;
        prefixAlone = 0;
        return key;
    }
    bool pairs = key == 0 || key == 0xe0 || (key >= 0xd800 && key <= 0xdbff);
    code = pairs && _kbhit() != 0 ? _getwch() : 0;
    prefixAlone = (key == 0 || key == 0xe0) && code == 0 ? key : 0;
    return key;
}

} // namespace

bool keyWaits() { return inputIsConsole(); }

void waitForKey()
{
    flushOutput(); // everything printed so far is on the screen while we wait
    wint_t code = 0;
    if (keyWaits())
        readKey(code);
}

bool stepKeysReady()
{
    static int ready = -1; // not asked yet
    if (ready < 0) {
        DWORD mode = 0;
        HANDLE keys =
            CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        ready = keys != INVALID_HANDLE_VALUE && GetConsoleMode(keys, &mode) != 0 &&
                GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
        if (keys != INVALID_HANDLE_VALUE)
            CloseHandle(keys);
    }
    return ready == 1;
}

bool stepKeysFromInput() { return inputIsConsole(); }

// _getwch reads without echo, and keys typed meanwhile wait unseen.
void releaseStepKeys() {}

KeyPress readStepKey(const char* hint)
{
    using Kind = KeyPress::Kind;
    if (hint != nullptr)
        showHint(hint);
    wint_t code = 0;
    wint_t key = readKey(code);
    if (hint != nullptr)
        eraseHint(hint);
    // Ctrl-C, which the console gives as a key while _getwch reads: it
    // ends the program as it would anywhere else.
    if (key == 3)
        ExitProcess(STATUS_CONTROL_C_EXIT);
    KeyPress press;
    const bool prefixed = key == 0 || key == 0xe0;
    if (key == WEOF || key == 4) // 4: Ctrl-D
        press.kind = Kind::endOfInput;
    else if (key == '\r')
        press.kind = Kind::enter;
    else if (key == 8)
        press.kind = Kind::backspace;
    else if (prefixed && (code == 0x4b || code == 0x4d || code == 0x47 || code == 0x4f))
        press.kind = code == 0x4b   ? Kind::left
                     : code == 0x4d ? Kind::right
                     : code == 0x47 ? Kind::home
                                    : Kind::end;
    else if (!prefixed && key >= 0x20 && key < 0xd800) {
        press.kind = Kind::text;
        // The character as UTF-8, as a terminal elsewhere would send it.
        press.length = key < 0x80 ? 1 : key < 0x800 ? 2 : 3;
        const int more = press.length - 1;
        const unsigned lead = more == 0 ? 0U : more == 1 ? 0xc0U : 0xe0U;
        press.text[0] = static_cast<char>(lead | (key >> (6 * more)));
        for (int i = 1; i <= more; ++i)
            press.text[i] = static_cast<char>(0x80U | ((key >> (6 * (more - i))) & 0x3fU));
    }
    return press;
}

// The console keeps the scrolling --step: its view is not built here.
bool openScreen(int /*leastColumns*/, int /*leastRows*/) { return false; }
bool screenIsOpen() { return false; }
bool screenSize(int& /*columns*/, int& /*rows*/) { return false; }
void writeScreen(const char* /*text*/, std::size_t /*length*/) {}
int keptOutput(char* /*buffer*/, int /*size*/) { return 0; }
void closeScreen() {}
