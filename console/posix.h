// Inside console/ on POSIX systems: what the terminal, the keys and the
// screen tell each other.
#pragma once

#include <ctime>

// ---- terminal_posix.cpp ----------------------------------------------------

// Holds the terminal fd in its wait mode (no echo, a byte at a time), and
// the signals that would end or stop the program, until as many releases
// as holds: a nested hold saves nothing again.
void holdTerminal(int fd);
void releaseTerminal();

// Waits at the held terminal for one byte: 1 when read, 0 at the end of
// input or an error, -1 (events only) when a resize or a continue came
// first. A background job stops until brought to the foreground; one that
// cannot stop returns 0.
int waitForByte(unsigned char& byte, bool events);

// Sleeps until the held terminal has a byte (1), or limit passes (0),
// letting a resize or a continue through (-1).
int sleepOn(const timespec* limit);

// The terminal --step's keys come from, -1 for none.
int stepKeysFd();

// The held terminal's descriptor, -1 when none is held.
int heldTerminal();

// While a hint stands on the screen, it is erased before the program
// stops or ends: erase is what erases it (nullptr: none stands).
void standingHint(const char* erase, int length);

// ---- screen_posix.cpp: safe in a signal handler --------------------------------

void screenLeave();    // the normal screen again, the alternate one left
void screenEnter();    // the alternate screen again, while the view is open
void screenGiveBack(); // the program ends: the kept output is written out

// Whether the terminal's description (terminfo) has an alternate screen; a
// terminal without a description is taken to have one.
bool hasAlternateScreen(const char* term);
