// Inside draw/: --step's keys, one table for each mode. What a key does,
// the status line's names for the keys, the scrolling hint and --help's
// list are all read from the tables (keys.cpp), so they cannot differ.
#pragma once

#include "console.h"

#include <cstdio>

enum class Action {
    none,
    next,
    back,
    first,
    latest,
    newCode,
    leave,
    toSteps,
    give,
    erase,
    endInput
};

enum class KeyMode {
    view,   // the full-screen view at a step
    line,   // its input line, open
    wait,   // posremove's key wait, a step of its own
    scroll, // the scrolling --step
};

Action actionOf(KeyMode mode, const KeyPress& key);

// A key as the status line names it: in full where there is room, else in
// brief.
struct KeyName {
    char full[48];
    char brief[24];
};

// The status line's keys for mode, in the order room is given to them;
// returns how many.
int statusKeys(KeyMode mode, KeyName (&out)[8]);

// The scrolling --step's hint at step, the longest form within room.
void scrollHint(long step, int room, char (&hint)[80]);

// --help's list of the keys, every mode's.
void printKeys(std::FILE* out);
