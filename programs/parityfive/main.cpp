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
    drawIntList({{"cursor", cursor}}, "the search: cursor = head");
    while (cursor != nullptr && !isFound) {
        if (cursor->value % 5 == 0) {
            found = cursor;
            isFound = true;
            drawIntList({{"cursor", cursor}, {"found", found}},
                        "%d is a multiple of five: found = cursor", found->value);
        } else {
            cursor = cursor->next;
            drawIntList({{"cursor", cursor}}, "no multiple of five: cursor = cursor->next");
        }
    }

    if (!isFound) {
        drawIntList({{"cursor", cursor}}, "cursor is NULL: no multiple of five");
        std::puts("Elemetnt not found");
    } else {
        if (found == tail) {
            if (found == head) {
                head = tail = nullptr;
                drawIntList({{"found", found, unlinked}, {"cursor", cursor}},
                            "found is the only node: head = tail = NULL");
            } else {
                cursor = head;
                drawIntList({{"cursor", cursor}, {"found", found}},
                            "found is the tail; to find the node before it, cursor = head");
                while (cursor->next != tail) {
                    cursor = cursor->next;
                    drawIntList({{"cursor", cursor}, {"found", found}},
                                "cursor->next was not the tail: cursor = cursor->next");
                }
                cursor->next = nullptr;
                drawIntList({{"cursor", cursor}, {"found", found, unlinked}},
                            "cursor->next = NULL: found is unlinked");
                tail = cursor;
                drawIntList({{"cursor", cursor}, {"found", found, unlinked}}, "tail = cursor");
            }
        } else if (found == head) {
            head = head->next;
            drawIntList({{"found", found, unlinked}, {"cursor", cursor}},
                        "found is the head: head = head->next");
        } else {
            cursor = head;
            drawIntList({{"cursor", cursor}, {"found", found}},
                        "found is inside; to find the node before it, cursor = head");
            while (cursor->next != found) {
                cursor = cursor->next;
                drawIntList({{"cursor", cursor}, {"found", found}},
                            "cursor->next was not found: cursor = cursor->next");
            }
            cursor->next = found->next;
            drawIntList({{"cursor", cursor}, {"found", found, unlinked}},
                        "cursor->next = found->next: found is unlinked");
        }
        drawIntList({{"cursor", cursor}, {"found", found, released}},
                    cursor == found ? "free(found): found and cursor now dangle"
                                    : "free(found): found now dangles");
        std::free(found);
    }

    printIntList("Spisok after include");
    return finishOutput();
}
