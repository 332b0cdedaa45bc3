// The console on Windows: its width, its own key read without echo, input
// that is not the console read as the bytes it holds, and the full-screen
// view's screen through the console's virtual-terminal mode.
#include "console.h"

#include <conio.h>
#include <cstdio>
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

// The view's screen: the console, in its virtual-terminal mode, while the
// program's output goes to a temporary file shown when the screen closes;
// and what the console was found to be, asked once.
struct WindowsConsole {
    HANDLE screenOut = INVALID_HANDLE_VALUE;
    DWORD foundMode = 0;       // the console's output mode found
    int consoleFd = -1;        // standard output as found
    int keptFd = -1;           // the output kept aside
    std::FILE* kept = nullptr; // the temporary file, deleted when it is closed
    int screenColumns = 0;     // the width when last asked
    bool noConsole = false;    // standard output is no console, once asked
    wint_t prefixAlone = 0;    // an arrow's prefix read alone (wine)
    int keysReady = -1;        // --step's keys can be read; -1: not asked yet
};

WindowsConsole win;

constexpr char enterAlternate[] = "\x1b[?1049h\x1b[?25l";
constexpr char leaveAlternate[] = "\x1b[?25h\x1b[?1049l";

void writeConsole(const char* text, std::size_t length)
{
    DWORD written = 0;
    WriteFile(win.screenOut, text, static_cast<DWORD>(length), &written, nullptr);
}

// Ctrl-C or Ctrl-Break outside a key wait, or the window closed: the
// screen is closed first, then the console's own handler ends the program.
BOOL WINAPI onControl(DWORD /*event*/)
{
    closeScreen();
    return FALSE;
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
    CONSOLE_SCREEN_BUFFER_INFO screen;
    if (win.screenOut != INVALID_HANDLE_VALUE)
        return win.screenColumns - 1;
    if (win.noConsole ||
        GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &screen) == 0) {
        win.noConsole = true;
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
    wint_t key = _getwch();
    if (win.prefixAlone != 0 && key >= 'G' && key <= 'S') {
        code = key;
        key = win.prefixAlone;
        win.prefixAlone = 0;
        return key;
    }
    bool pairs = key == 0 || key == 0xe0 || (key >= 0xd800 && key <= 0xdbff);
    code = pairs && _kbhit() != 0 ? _getwch() : 0;
    win.prefixAlone = (key == 0 || key == 0xe0) && code == 0 ? key : 0;
    return key;
}

} // namespace

bool keyWaits() { return inputIsConsole(); }

void waitForKey()
{
    if (console.keyWait != nullptr && console.keyWait())
        return;
    flushOutput(); // everything printed so far is on the screen while we wait
    wint_t code = 0;
    if (keyWaits())
        readKey(code);
}

bool stepKeysReady()
{
    int& ready = win.keysReady;
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
    if (key == 3) {
        closeScreen();
        ExitProcess(STATUS_CONTROL_C_EXIT);
    }
    KeyPress press;
    const bool prefixed = key == 0 || key == 0xe0;
    if (key == WEOF)
        press.kind = Kind::hangUp;
    else if (key == 4) // Ctrl-D
        press.kind = Kind::endOfInput;
    else if (key == 0x1b)
        press.kind = Kind::escape;
    else if (key == '\r')
        press.kind = Kind::enter;
    else if (key == 8)
        press.kind = Kind::backspace;
    else if (prefixed && (code == 0x4b || code == 0x4d || code == 0x47 || code == 0x4f))
        press.kind = code == 0x4b   ? Kind::left
                     : code == 0x4d ? Kind::right
                     : code == 0x47 ? Kind::home
                                    : Kind::end;
    else if (!prefixed && (key >= 0x20 || key == '\t') && key < 0xd800) {
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

// Wine's console takes the virtual-terminal mode but puts the view's rows
// out of place: there --step scrolls, as where the mode cannot be set.
bool underWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool openScreen(int leastColumns, int leastRows)
{
    if (win.screenOut != INVALID_HANDLE_VALUE)
        return true;
    if (underWine())
        return false;
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO info;
    DWORD mode = 0;
    if (!stepKeysReady() || GetConsoleScreenBufferInfo(out, &info) == 0 ||
        GetConsoleMode(out, &mode) == 0 ||
        info.srWindow.Right - info.srWindow.Left < leastColumns - 1 ||
        info.srWindow.Bottom - info.srWindow.Top < leastRows - 1)
        return false;
    // Where the mode cannot be set, --step scrolls.
    if (SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) == 0)
        return false;
    win.kept = std::tmpfile();
    if (win.kept == nullptr) {
        SetConsoleMode(out, mode);
        return false;
    }
    flushOutput();
    // The console through a handle of its own: the one standard output had
    // is closed when standard output goes to the file.
    win.consoleFd = _dup(1);
    win.keptFd = _fileno(win.kept);
    win.screenOut = reinterpret_cast<HANDLE>(_get_osfhandle(win.consoleFd));
    _dup2(win.keptFd, 1);
    win.foundMode = mode;
    win.screenColumns = info.srWindow.Right - info.srWindow.Left + 1;
    SetConsoleCtrlHandler(onControl, TRUE);
    writeConsole(enterAlternate, sizeof enterAlternate - 1);
    return true;
}

bool screenIsOpen() { return win.screenOut != INVALID_HANDLE_VALUE; }

bool screenSize(int& columns, int& rows)
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (win.screenOut == INVALID_HANDLE_VALUE ||
        GetConsoleScreenBufferInfo(win.screenOut, &info) == 0)
        return false;
    // The console wraps a line that fills its last column: one short.
    columns = win.screenColumns = info.srWindow.Right - info.srWindow.Left;
    rows = info.srWindow.Bottom - info.srWindow.Top + 1;
    return true;
}

void writeScreen(const char* text, std::size_t length) { writeConsole(text, length); }

long keptLength()
{
    if (win.screenOut == INVALID_HANDLE_VALUE)
        return 0;
    flushOutput();
    return static_cast<long>(_lseeki64(win.keptFd, 0, SEEK_END));
}

int keptOutput(char* buffer, int size, long end)
{
    if (win.screenOut == INVALID_HANDLE_VALUE)
        return 0;
    flushOutput();
    // Standard output writes through the same offset: it is put back.
    const long long all = _lseeki64(win.keptFd, 0, SEEK_END);
    const long long until = end >= 0 && end < all ? end : all;
    const long long from = until > size ? until - size : 0;
    _lseeki64(win.keptFd, from, SEEK_SET);
    const int n = _read(win.keptFd, buffer, static_cast<unsigned>(until - from));
    _lseeki64(win.keptFd, all, SEEK_SET);
    return n > 0 ? n : 0;
}

void closeScreen()
{
    if (win.screenOut == INVALID_HANDLE_VALUE)
        return;
    flushOutput();
    writeConsole(leaveAlternate, sizeof leaveAlternate - 1);
    SetConsoleMode(win.screenOut, win.foundMode);
    _dup2(win.consoleFd, 1);
    _lseeki64(win.keptFd, 0, SEEK_SET);
    char buffer[4096];
    for (int n; (n = _read(win.keptFd, buffer, sizeof buffer)) > 0;)
        writeConsole(buffer, static_cast<std::size_t>(n));
    std::fclose(win.kept);
    _close(win.consoleFd);
    win.screenOut = INVALID_HANDLE_VALUE;
    SetConsoleCtrlHandler(onControl, FALSE);
}

// Standard output's stream cannot be replaced here: no --trace.
std::FILE* divertOutput(long (* /*sink*/)(const char* bytes, std::size_t n)) { return nullptr; }

std::FILE* divertedTo() { return nullptr; }
