// parityfive: odd values join the back, even ones the front; then the first
// multiple of five from the front is unlinked and released. The three ways
// of unlinking (the tail, the head, a node in between) each have their case.
#include "intlist.h"

#include "console.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

IntNode* found;

namespace {

// Unlinks found, by the case it is: the tail (the only node too), the
// head, or a node in between; then releases it.
void removeFound()
{
    if (found == tail) {
        if (found == head) {
            head = tail = nullptr;
            drawIntList({{"found", found, unlinked}, {"cursor", cursor}}, "found is the only node");
        } else {
            cursor = head;
            drawIntList({{"cursor", cursor}, {"found", found}},
                        "found is the tail: a walk to the node before it");
            while (cursor->next != tail) {
                std::int32_t tested = cursor->value;

                cursor = cursor->next;
                drawIntList({{"cursor", cursor}, {"found", found}},
                            "the node after %d is not the tail", tested);
            }
            cursor->next = nullptr;
            drawIntList({{"cursor", cursor}, {"found", found, unlinked}},
                        "cursor is the node before the tail");
            tail = cursor;
            drawIntList({{"cursor", cursor}, {"found", found, unlinked}},
                        "cursor is the last node now");
        }
    } else if (found == head) {
        head = head->next;
        drawIntList({{"found", found, unlinked}, {"cursor", cursor}}, "found is the head");
    } else {
        cursor = head;
        drawIntList({{"cursor", cursor}, {"found", found}},
                    "found is inside: a walk to the node before it");
        while (cursor->next != found) {
            std::int32_t tested = cursor->value;

            cursor = cursor->next;
            drawIntList({{"cursor", cursor}, {"found", found}}, "the node after %d is not found",
                        tested);
        }
        cursor->next = found->next;
        drawIntList({{"cursor", cursor}, {"found", found, unlinked}},
                    "cursor is the node before found");
    }
    drawIntList({{"cursor", cursor}, {"found", found, released}}, "%s",
                cursor == found ? "found and cursor now dangle" : "found now dangles");
    std::free(found);
}

} // namespace

int main(int argc, char** argv)
{
    startProgram(argc, argv,
                 "Odd integers join the back of a singly linked list, even ones the\n"
                 "front; the list is printed, its first multiple of five from the front\n"
                 "is removed, and it is printed again.\n",
                 intInputHelp);
    readIntList([](std::int32_t value) { return value % 2 != 0 ? Place::atTail : Place::atHead; },
                "is even, so at the head", "is odd, so at the tail");
    printIntList("inputed spisok first -> last");

    bool isFound = false;

    cursor = head;
    drawIntList({{"cursor", cursor}}, "the search starts at the head");
    while (cursor != nullptr && !isFound) {
        if (cursor->value % 5 == 0) {
            found = cursor;
            isFound = true;
            drawIntList({{"cursor", cursor}, {"found", found}}, "%d is a multiple of five",
                        found->value);
        } else {
            std::int32_t tested = cursor->value; // named by the drawing

            cursor = cursor->next;
            drawIntList({{"cursor", cursor}}, "%d is not a multiple of five", tested);
        }
    }

    if (!isFound) {
        drawIntList({{"cursor", cursor}}, "cursor is NULL: no value is a multiple of five");
        std::puts("Elemetnt not found");
    } else {
        removeFound();
    }

    printIntList("Spisok after include");
    return finishOutput();
}
