// The integer list shared by fifolist, twoends, lifolist, parityfive and
// posremove: the node, the program-wide anchors, the input dialogue and the
// listing.
#pragma once

#include "pointer.h"

#include <cstdint>
#include <initializer_list>

struct IntNode {
    std::int32_t value;
    IntNode* next;
};

// Program-wide, as every program walks and changes the same list.
extern IntNode* head;
extern IntNode* tail;
extern IntNode* cursor; // the walking pointer of listings and searches

// How to type the dialogue's input, for --help.
inline constexpr char intInputHelp[] =
    "Type one integer per line and end the list with an empty line (Enter\n"
    "alone). Text that is not a number counts as 0, and only the first 11\n"
    "characters of a line count.\n";

enum class Place { atTail, atHead };

// Where a value typed after the first goes.
using PlacementRule = Place (*)(std::int32_t value);

Place append(std::int32_t value); // every value at the tail
Place push(std::int32_t value);   // every value at the head

// A node of its own for value, with no successor yet; std::free releases it.
IntNode* newIntNode(std::int32_t value);

// Prompts once, then reads integers one per line until an empty line (or the
// end of input). The first value is the whole list; each later one is placed
// by rule. Leaves head and tail set. headWhy and tailWhy are what --draw
// says of a value that rule puts at the head or at the tail ("is even, so
// at the head").
void readIntList(PlacementRule rule, const char* headWhy = "goes to the head",
                 const char* tailWhy = "goes to the tail");

// Prints heading, then every value from head in a five-character field.
void printIntList(const char* heading);

// With --draw: draws the list from head under a caption, the code that
// just ran (read from the source: pointer.h says how), " // " and why
// (format and args, as printf, and checked as printf's are), with head,
// the given pointers (in list order) and tail labelled. Without it,
// returns at once.
#define drawIntList(...) drawIntListAt(__FILE__, __LINE__, __VA_ARGS__)
[[gnu::format(printf, 4, 5)]] void drawIntListAt(const char* file, int callLine,
                                                 std::initializer_list<Pointer> pointers,
                                                 const char* format, ...);
