#include "intlist.h"

#include "console.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

IntNode* head;
IntNode* tail;
IntNode* cursor;
char line[12];

Place append(std::int32_t /*value*/) { return Place::atTail; }
Place push(std::int32_t /*value*/) { return Place::atHead; }

// malloc, not new: the C++ runtime reports failure with an exception, and
// when memory is that tight the exception itself cannot be made.
IntNode* newIntNode(std::int32_t value)
{
    auto* node = static_cast<IntNode*>(std::malloc(sizeof(IntNode)));
    if (node == nullptr)
        outOfMemory();
    node->value = value;
    node->next = nullptr;
    return node;
}

void readIntList(PlacementRule rule)
{
    std::puts("Input integer value or ENTER");
    flushOutput(); // shown before we block, even when output is a pipe
    // The first line is taken whatever it holds: even an empty one is a 0.
    readLine(line, sizeof line, stdin);
    head = tail = newIntNode(toInt32(line));
    while (readLine(line, sizeof line, stdin) && std::strlen(line) != 0) {
        IntNode* node = newIntNode(toInt32(line));
        if (rule(node->value) == Place::atTail) {
            tail->next = node;
            tail = node;
        } else {
            node->next = head;
            head = node;
        }
    }
}

void printIntList(const char* heading)
{
    std::puts(heading);
    for (cursor = head; cursor != nullptr; cursor = cursor->next)
        printField5(cursor->value);
    std::printf("\n");
    flushOutput();
}
