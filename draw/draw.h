// --draw: the list as boxes and arrows at every step, with the program's
// named pointers standing at their nodes. Shared by both list libraries;
// each says how its node reads, and draws only when the program was started
// with --draw or --step (drawing, in console.h).
//
//     -- 10 is a multiple of five: found = cursor
//        head,cursor,found  tail
//        v                  v
//       [10]->[4]->[3]->[7]->NULL
#pragma once

#include <cstdarg>
#include <initializer_list>

// How a node that is not on the list stands, for Pointer::offList. It is
// drawn below the list with its own next.
inline constexpr char made[] = "";             // new, not linked in yet
inline constexpr char unlinked[] = "unlinked"; // taken off the list
inline constexpr char released[] = "released"; // about to be freed: its holders dangle

// One of the program's pointers, by the name the code gives it. A null node
// is drawn as pointing at NULL. A pointer without a name only keeps its
// node in view.
struct Pointer {
    const char* name;
    const void* node;
    const char* offList = nullptr; // made, unlinked or released; nullptr: on the list
};

// How a list library's node reads: the node after it, and its value as
// drawn (at most 15 characters, no NUL), returning the length.
struct NodeReading {
    const void* (*next)(const void* node);
    int (*text)(const void* node, char (&out)[16]);
};

// Draws on standard output a caption (format and args, as printf) and the
// list from head, labelling head, the other pointers and last, which come in
// list order (last: the last node, when it is known). Every named node is
// drawn with the node after it, so a link just made is two adjacent boxes;
// the nodes between are elided with "..." (for two or more) as the width
// requires, and no more of the list is walked than is drawn. What must be
// shown and does not fit the width goes on in the next line. With --step
// at a terminal, it then waits for a key (step.cpp).
void drawList(const NodeReading& reading, const Pointer& head,
              std::initializer_list<Pointer> pointers, const Pointer& last, const char* format,
              std::va_list args);

// The columns a drawing may take: COLUMNS when it is a number, else the
// terminal's width, asked at every drawing so that a resize shows at the
// next, else 80; 256 at the most.
int drawingWidth();

// The list dialogue is over: with --step, drawings wait for a key from here
// on even when the keys come from the terminal the input is typed at (until
// then the typing paces the drawings).
void inputDone();

// With --draw or --step, just before posremove's key wait at a terminal: a
// drawing line says that the program waits, on a line of its own (started
// first when lineOpen: the last output had no end-of-line).
void drawKeyWait(bool lineOpen);

// Shows a finished drawing (length bytes of text); with --step at a
// terminal, waits for a key and lets the person page back through the last
// drawings.
void showDrawing(const char* text, int length);
