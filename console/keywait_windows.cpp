// The key wait on Windows: the console's own key read, without echo.
#include "console.h"

#include <conio.h>
#include <io.h>

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
