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

// With --draw at a terminal: a caption line of its own, "-- " and caption
// (started on a new line when lineOpen: the last output had no end-of-line);
// in --step's full-screen view, a note on its screen.
void drawNote(bool lineOpen, const char* caption);
