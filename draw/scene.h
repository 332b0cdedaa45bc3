// Inside draw/: a drawing as read from the list (Scene), which holds no
// pointer into it, and its layout at a width. --draw lays a scene out once;
// --step keeps scenes, so a step shown again fits the width of that moment
// and reads no node that may be released by then.
#pragma once

#include "code.h"
#include "keys.h"

#include <span>

inline constexpr int widest = 256;     // a wider terminal still gets this much
inline constexpr int mostPointers = 8; // head, the program's own, and the last node
inline constexpr int mostCells = 96;   // nodes one scene reads
// "...100+": nodes counted past the read ones. Counting is a walk, and
// on a long list a bound of 1000 made every drawing several times slower.
inline constexpr int countBound = 100;

// A node's value as drawn, at most 15 characters.
struct Value {
    char text[16] = {};
    int length = 0;
};

// A run of names at one node, "head,cursor".
struct Names {
    char text[64] = {};
    int length = 0;
};

// One node of the row, as read.
struct Cell {
    Value value;
    int names = -1;          // its names in Scene::names, -1 for none
    bool kept = false;       // always shown: named, after a named node, or an arrow's end
    bool marked = false;     // its next was just set: the arrow after it is "=>"
    int unread = 0;          // list nodes after it, before the next cell, not read
    bool unreadMore = false; // and more: the count stopped at countBound
};

// Where the next of the node beside the list goes.
enum class Aside { none, toCell, toNull, gone, notRead };

struct Scene {
    const Code* code = nullptr; // what ran, and where (kept for the whole run)
    char caption[256] = {};     // "<code> // <reason>"
    Cell cells[mostCells];      // the nodes read, in list order; NULL follows
    int cellCount = 0;
    Names names[mostPointers];
    int nameCount = 0;
    int nullNames = -1;              // the names of null pointers, -1 for none
    Aside aside = Aside::none;       // the node off the list, if any
    Value asideValue;                // its value
    int asideNames = -1;             // the names holding it
    const char* asideWord = nullptr; // made, unlinked or released
    bool asideMarked = false;        // its next was just set
    int asideTarget = -1;            // the cell its next is, for Aside::toCell
};

// The text of one drawing, line by line.
struct Drawing {
    char text[16384];
    int length = 0;
};

// Lays shown out at width columns (at most widest) into out.
void layOut(const Scene& shown, int width, Drawing& out);

// Shows a scene at the width of the moment; with --step at a terminal,
// waits for a key and lets the person page back (step.cpp).
void showScene(const Scene& scene);

// What the full-screen view shows besides the step (view.cpp).
struct ViewState {
    long step = 0;                 // the step shown, from 1; 0 before the first
    long steps = 0;                // the steps so far
    bool ended = false;            // the program has ended: steps is all of them
    long outputEnd = -1;           // the output as it was at the step (bytes); -1: all of it
    const char* note = nullptr;    // a line above the keys, if any
    const char* typed = nullptr;   // the input line being typed, if one is open
    std::span<const KeyName> keys; // what the keys do, in the order room is given
};

// A copy of what a scene uses into to (a walk over a long list keeps many).
void copyScene(const Scene& from, Scene& to);

// Draws the full-screen view of scene (none before the first step) on the
// screen the console has opened, at its size of the moment. Returns false
// when the screen is too small for it: it then says so, and no more.
bool showView(const Scene* scene, const ViewState& state);

// Whether the screen has room for the view now: below it, no key but leave
// takes effect.
bool viewFits();

// With --step's view: a step of its own for a drawing of no list (code and
// caption; posremove's key wait), and true; the view then waits at it when
// the program waits for its key. True too once the view is left: nothing
// more is drawn (step.cpp).
bool noteStep(const Code& code, const char* caption);

// With --trace: a scene, or a note over the last one, as a JSON record
// (trace.cpp).
void traceScene(const Scene& scene);
void traceNote(const Code& code, const char* caption);
