// The character list shared by hashstar and thirdcull: the node, the line
// reading that builds the list, and the listing. The anchors and the line
// buffer belong to each program's main.
#pragma once

#include "pointer.h"

#include <initializer_list>

struct CharNode {
    char ch;
    CharNode* next;
};

// How to type the line, for --help.
inline constexpr char charInputHelp[] =
    "Type one line of up to 39 characters; each character, spaces included,\n"
    "becomes one node of the list.\n";

// A node of its own for ch, followed by next; std::free releases it.
CharNode* newCharNode(char ch, CharNode* next);

// Prompts, reads one line into st (at most 39 characters and a NUL) and
// returns the head of a list with one node per character, in order. An
// empty line gives one node holding the NUL character.
CharNode* readCharList(char (&st)[40]);

// Prints heading, then every character from head as a space and itself.
void printCharList(const char* heading, const CharNode* head);

// A character as a caption names it: 'a', ' ', '\0', '\x1b'.
struct Quoted {
    char text[20];
};
Quoted quoted(char ch);

// With --draw: draws the list from head under a caption, the code that
// just ran (read from the source: pointer.h says how), " // " and why
// (format and args, as printf, and checked as printf's are), with head and
// the given pointers (in list order) labelled. Without it, returns at once.
#define drawCharList(...) drawCharListAt(__FILE__, __LINE__, __VA_ARGS__)
[[gnu::format(printf, 5, 6)]] void drawCharListAt(const char* file, int line, const CharNode* head,
                                                  std::initializer_list<Pointer> pointers,
                                                  const char* format, ...);
