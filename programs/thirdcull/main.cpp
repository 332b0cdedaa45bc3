// thirdcull: every node at a position that is a multiple of three in the
// list as read is unlinked and released, in one forward walk with a
// trailing predecessor. The first node is never removed, so head stays.
#include "charlist.h"

#include "console.h"

#include <cstdlib>

int main(int argc, char** argv)
{
    startProgram(argc, argv,
                 "The characters of one line, in a singly linked list; it is printed,\n"
                 "the characters at positions 3, 6, 9 and so on are removed, and it is\n"
                 "printed again.\n",
                 charInputHelp);
    char st[40];
    CharNode* head = readCharList(st);
    printCharList("Inputed spisok", head);

    CharNode* prev = head;
    drawCharList(head, {{"prev", prev}}, "the walk starts at the head");
    CharNode* cur = head;
    drawCharList(head, {{"prev", prev}, {"cur", cur}}, "prev trails cur");
    int position = 0; // counts removed nodes too
    while (cur != nullptr) {
        ++position;
        if (position % 3 == 0) {
            prev->next = cur->next;
            drawCharList(head, {{"prev", prev}, {"cur", cur, unlinked}},
                         "%s is at position %d, a multiple of three", quoted(cur->ch).text,
                         position);
            drawCharList(head, {{"prev", prev}, {"cur", cur, released}}, "cur now dangles");
            std::free(cur);

            cur = prev->next;
            drawCharList(head, {{"prev", prev}, {"cur", cur}}, "prev stays");
        } else {
            prev = cur;
            cur = cur->next;
            drawCharList(head, {{"prev", prev}, {"cur", cur}},
                         "%s is at position %d, not a multiple of three", quoted(prev->ch).text,
                         position);
        }
    }

    printCharList("NEW spisok", head);
    return finishOutput();
}
