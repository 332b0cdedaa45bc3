// The console on Windows: its width, and its own key read without echo.
#include "console.h"

#include <conio.h>
#include <io.h>
#include <windows.h>

void waitForKey()
{
    flushOutput(); // everything printed so far is on the screen while we wait
    if (!_isatty(_fileno(stdin)))
        return;
    // An arrow or a function key comes as two codes, a prefix and the key.
    int key = _getch();
    if (key == 0 || key == 0xe0)
        _getch();
}

int terminalColumns()
{
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &screen) == 0)
        return 0;
    return screen.srWindow.Right - screen.srWindow.Left + 1;
}
