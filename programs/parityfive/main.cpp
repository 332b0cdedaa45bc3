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
    readIntList([](std::int32_t value) { return value % 2 != 0 ? Place::atTail : Place::atHead; });
    printIntList("inputed spisok first -> last");

    bool isFound = false;
    cursor = head;
    while (cursor != nullptr && !isFound) {
        if (cursor->value % 5 == 0) {
            found = cursor;
            isFound = true;
        } else {
            cursor = cursor->next;
        }
    }

    if (!isFound) {
        std::puts("Elemetnt not found");
    } else {
        if (found == tail) {
            if (found == head) {
                head = tail = nullptr;
            } else {
                for (cursor = head; cursor->next != tail; cursor = cursor->next) {
                }
                cursor->next = nullptr;
                tail = cursor;
            }
        } else if (found == head) {
            head = head->next;
        } else {
            for (cursor = head; cursor->next != found; cursor = cursor->next) {
            }
            cursor->next = found->next;
        }
        std::free(found);
    }

    printIntList("Spisok after include");
    return finishOutput();
}
