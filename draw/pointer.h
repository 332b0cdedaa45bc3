// What a program hands its list library's draw call: its named pointers,
// and a note line of its own (posremove's key wait).
#pragma once

// How a node that is not on the list stands, for Pointer::offList. It is
// drawn below the list, its next an arrow up to the node it points at.
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

// A drawing's caption is the code that just ran, read from the source the
// program was built from, then " // " and the reason the draw call gives:
// - the statements on the lines just above the call, one statement a
//   line, up to a blank or comment-only line, a line that opens or closes
//   a block, or the call before;
// - for a drawing that shows a node released, which is made before its
//   release, the one statement just after the call;
// - with no statement there, the reason alone. The step then stands for
//   the code above it: the block's opening test (and the tests of its
//   if-else chain before it), or the block just closed (the loop that
//   built the list); --step's view marks those lines.

// With --draw at a terminal: a caption line of its own, "-- ", the
// statement just after the call, " // " and reason (started on a new line
// when lineOpen: the last output had no end-of-line); in --step's
// full-screen view, a note on its screen.
#define drawNote(...) drawNoteAt(__FILE__, __LINE__, __VA_ARGS__)
void drawNoteAt(const char* file, int line, bool lineOpen, const char* reason);
