// parityfive: odd values join the back, even ones the front; then the first
// multiple of five from the front is unlinked and released. The three ways
// of unlinking (the tail, the head, a node in between) each have their case.
#include "intlist.h"

#include "console.h"

#include <cstdio>
#include <cstdlib>

IntNode* found;

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
    while (cursor != nullptr && !isFound) {
        if (cursor->value % 5 == 0) {
            found = cursor;
            isFound = true;
            drawIntList({{"cursor", cursor}, {"found", found}},
                        "%d is a multiple of five: found = cursor", found->value);
        } else {
            drawIntList({{"cursor", cursor}}, "%d is no multiple of five: cursor moves on",
                        cursor->value);
            cursor = cursor->next;
        }
    }

    if (!isFound) {
        drawIntList({{"cursor", cursor}}, "cursor is NULL: no multiple of five");
        std::puts("Elemetnt not found");
    } else {
        if (found == tail) {
            if (found == head) {
                head = tail = nullptr;
                drawIntList({{"found", found, "unlinked"}},
                            "found is the only node: head and tail become NULL");
            } else {
                for (cursor = head; cursor->next != tail; cursor = cursor->next)
                    drawIntList({{"cursor", cursor}, {"found", found}},
                                "found is the tail: cursor walks to the node before it");
                cursor->next = nullptr;
                tail = cursor;
                drawIntList({{"cursor", cursor}, {"found", found, "unlinked"}},
                            "cursor->next = NULL, tail = cursor: found is unlinked");
            }
        } else if (found == head) {
            head = head->next;
            drawIntList({{"found", found, "unlinked"}},
                        "found is the head: head moves to the next node");
        } else {
            for (cursor = head; cursor->next != found; cursor = cursor->next)
                drawIntList({{"cursor", cursor}, {"found", found}},
                            "found is inside: cursor walks to the node before it");
            cursor->next = found->next;
            drawIntList({{"cursor", cursor}, {"found", found, "unlinked"}},
                        "cursor->next = found->next: found is unlinked");
        }
        drawIntList({{"found", found, "released"}}, "free(found)");
        std::free(found);
    }

    printIntList("Spisok after include");
    return finishOutput();
}
