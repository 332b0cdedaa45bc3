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
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &screen) == 0)
        return 0;
    return screen.srWindow.Right - screen.srWindow.Left + 1;
}

void waitForKey()
{
    flushOutput(); // everything printed so far is on the screen while we wait
    if (!inputIsConsole())
        return;
    // An arrow or a function key comes as a prefix (0 or 0xE0) and a code, a
    // character outside the BMP as two UTF-16 codes, each pair at once. So a
    // second code is read only when one is waiting: a typed U+00E0, which
    // is the prefix's value too, ends the wait by itself.
    wint_t key = _getwch();
    bool pairs = key == 0 || key == 0xe0 || (key >= 0xd800 && key <= 0xdbff);
    if (pairs && _kbhit() != 0)
        _getwch();
}
