// --draw: the list as boxes and arrows at every step, with the program's
// named pointers standing at their nodes. Shared by both list libraries;
// each says how its node reads, and draws only when the program was started
// with --draw (drawing, in console.h).
//
//     -- 10 is a multiple of five: found = cursor
//       head,cursor,found  tail
//       v                  v
//       [10]->[4]->[3]->[7]->NULL
#pragma once

#include <cstdarg>
#include <initializer_list>

// One of the program's pointers, by the name the code gives it. A null node
// is drawn as pointing at NULL. offList says how a node that left the list
// stands ("unlinked", "released"); it is drawn below the list. A pointer
// without a name only keeps its node in view.
struct Pointer {
    const char* name;
    const void* node;
    const char* offList = nullptr;
};

// How a list library's node reads: the node after it, and its value as
// drawn (at most 15 characters, no NUL), returning the length.
struct NodeReading {
    const void* (*next)(const void* node);
    int (*text)(const void* node, char (&out)[16]);
};

// Draws on standard output a caption (format and args, as printf) and the
// list from head, labelling head, the other pointers and last, which come in
// list order (last: the last node, when it is known). The drawing fits the
// terminal's width: the nodes between the labelled ones are elided with
// "..." as needed, and no more of the list is walked than fits.
void drawList(const NodeReading& reading, const Pointer& head,
              std::initializer_list<Pointer> pointers, const Pointer& last, const char* format,
              std::va_list args);
