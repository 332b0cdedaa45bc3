// posremove: the values in input order; then the node at a typed position k
// (1 is the front) is unlinked and released. Positions 1 and 2 have their
// own short paths; from 3 on a walk with a trailing predecessor finds it.
#include "intlist.h"

#include "console.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

IntNode* current;
IntNode* previous;

namespace {

// Reads k as scanf("%d") does (white space skipped, the rest of the line
// left unread), except that a number outside the 32-bit range is clamped
// into it and anything that is not a number reads as 0.
std::int32_t readPosition()
{
    flushOutput();
    int c;
    do
        c = readChar(stdin);
    while (c != EOF && std::isspace(c));
    bool negative = c == '-';
    if (c == '-' || c == '+')
        c = readChar(stdin);
    std::int64_t magnitude = 0;
    for (; c != EOF && std::isdigit(c); c = readChar(stdin))
        magnitude = std::min<std::int64_t>(magnitude * 10 + (c - '0'), INT64_C(1) << 32);
    if (c != EOF)
        std::ungetc(c, stdin);
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(negative ? -magnitude : magnitude, INT32_MIN, INT32_MAX));
}

// What free(current) leaves: current dangles, and tail too when the last
// node goes. Nothing reads tail after the input, so the fault stays latent.
const char* dangling()
{
    return current == tail ? "current and tail now dangle (nothing reads tail again)"
                           : "current now dangles";
}

// Positions 1 and 2, each by its own short path; below 1, nothing.
void removeFirstOrSecond(std::int32_t k)
{
    if (k == 1) {
        current = head;
        drawIntList({{"current", current}}, "k is 1");
        head = head->next;
        drawIntList({{"current", current, unlinked}}, "current goes");
        drawIntList({{"current", current, released}}, "%s", dangling());
        std::free(current);
    } else if (k == 2) {
        current = head->next;
        drawIntList({{"current", current}}, "k is 2");
        head->next = current->next;
        drawIntList({{"current", current, unlinked}}, "current goes");
        drawIntList({{"current", current, released}}, "%s", dangling());
        std::free(current);
    } else {
        drawIntList({}, "k is %d: no node has this position, none is removed", k);
    }
}

} // namespace

int main(int argc, char** argv)
{
    startProgram(argc, argv,
                 "The integers you type, in order, in a singly linked list; it is\n"
                 "printed, the element at the position you type next (1 is the front)\n"
                 "is removed, the list is printed again, and a key press ends it.\n",
                 intInputHelp);
    readIntList(append);
    printIntList("inputed spisok");
    std::puts("input nomber of find elem");
    std::int32_t k = readPosition();

    bool absent = false; // the message has no end-of-line
    if (k == 2 && head->next == nullptr) {
        // A one-element list has no second node to unlink.
        drawIntList({}, "k is 2, but head->next is NULL: there is no second node");
        std::printf("element %5d apsent", k);
        absent = true;
    } else if (k <= 2) {
        removeFirstOrSecond(k);
        printIntList("NEW spisok");
    } else {
        std::int32_t position = 2;

        previous = head;
        drawIntList({{"previous", previous}}, "k is %d: a walk from the head", k);
        current = head->next;
        drawIntList({{"previous", previous}, {"current", current}}, "%s",
                    current != nullptr ? "current is at position 2" : "the list has one node");
        while (current != nullptr && position < k && current->next != nullptr) {
            previous = current;
            current = current->next;
            ++position;
            drawIntList({{"previous", previous}, {"current", current}},
                        "%d is at position %d, before k", previous->value, position - 1);
        }
        if (current != nullptr && position == k) {
            previous->next = current->next;
            drawIntList({{"previous", previous}, {"current", current, unlinked}},
                        "current is at position k, %d", k);
            drawIntList({{"previous", previous}, {"current", current, released}}, "%s", dangling());
            std::free(current);
            printIntList("new spisok");
        } else {
            drawIntList({{"previous", previous}, {"current", current}},
                        "the list ends at position %d: there is no position %d",
                        current != nullptr ? position : 1, k);
            std::printf("element %5d apsent", k);
            absent = true;
        }
    }

    drawNote(absent, "the program waits for a key press");
    waitForKey();
    return finishOutput();
}
