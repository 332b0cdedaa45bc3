// hashstar: a '#' node is inserted before every '*' node. Insertion before a
// node needs its predecessor, so a leading '*' (which has none) is handled
// first, by making the new node the head.
#include "charlist.h"

#include "console.h"

int main(int argc, char** argv)
{
    startProgram(argc, argv,
                 "The characters of one line, in a singly linked list; it is printed, a\n"
                 "'#' is inserted before every '*', and it is printed again.\n",
                 charInputHelp);
    char st[40];
    CharNode* head = readCharList(st);
    printCharList("Inputed spisok", head);

    CharNode* cur = head;
    if (head->ch == '*') {
        head = newCharNode('#', head);
        drawCharList(head, {{"cur", cur}}, "a leading '*': a new '#' node before it becomes head");
    }
    // cur is looked at only after it moves, so the nodes inserted behind it
    // are never visited.
    while (cur->next != nullptr) {
        CharNode* prev = cur;
        cur = cur->next;
        if (cur->ch == '*') {
            prev->next = newCharNode('#', cur);
            drawCharList(head, {{"prev", prev}, {"prev->next", prev->next}, {"cur", cur}},
                         "cur is a '*': prev->next = a new '#' node, whose next is cur");
        }
    }

    printCharList("NEW spisok", head);
    return finishOutput();
}
