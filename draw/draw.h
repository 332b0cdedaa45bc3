// --draw for the list libraries: the list as boxes and arrows at every
// step, with the program's named pointers standing at their nodes, under
// the code that just ran. Each library says how its node reads, and draws
// only when the program was started with --draw or --step (drawing, in
// console.h).
//
//     -- found = cursor; // 10 is a multiple of five
//        head,cursor,found
//        |                  tail
//        v                  v
//       [10]->[4]->[3]->[7]->NULL
#pragma once

#include "pointer.h"

#include <cstdarg>
#include <initializer_list>

// How a list library's node reads: the node after it; its value as drawn
// (at most 15 characters, no NUL), returning the length; and how many
// nodes there are from one up to another (or NULL), at most bound.
struct NodeReading {
    const void* (*next)(const void* node);
    int (*text)(const void* node, char (&out)[16]);
    int (*span)(const void* from, const void* until, int bound);
};

// Draws on standard output a caption (the code that ran, " // " and the
// reason: format and args, as printf) and the list from head, labelling head, the
// other pointers and last, which come in list order (last: the last node,
// when it is known). A "p->next = " in the caption's code marks p's link.
// Every named node is drawn with the node after it; "...N" stands for N
// nodes left out (two or more; "...100+" past a hundred) as the width
// requires, and at most a hundred nodes past what is drawn are walked. With --step at a
// terminal, it then waits for a key (step.cpp).
// NodeReading::span for a node record with a next link: a walk with no
// call per node.
template <class Node> int spanOf(const void* from, const void* until, int bound)
{
    int n = 0;
    for (const auto* node = static_cast<const Node*>(from);
         node != until && node != nullptr && n < bound; node = node->next)
        ++n;
    return n;
}

// file and line say where the drawing was asked for: its code is read from
// there (pointer.h says how), and --step's view marks it. format and args
// are the reason alone.
void drawList(const char* file, int line, const NodeReading& reading, const Pointer& head,
              std::initializer_list<Pointer> pointers, const Pointer& last, const char* format,
              std::va_list args);

// drawList with the code given rather than read from the source.
struct Code;
void drawListWithCode(const Code& code, const NodeReading& reading, const Pointer& head,
                      std::initializer_list<Pointer> pointers, const Pointer& last,
                      const char* format, std::va_list args);

// The columns a drawing may take: COLUMNS when it is a number, else the
// terminal's width, asked at every drawing so that a resize shows at the
// next, else 80; 256 at the most.
int drawingWidth();

// The list dialogue is over: with --step, drawings wait for a key from here
// on even when the keys come from the terminal the input is typed at (until
// then the typing paces the drawings).
void inputDone();
