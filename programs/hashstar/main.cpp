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
    drawCharList(head, {{"cur", cur}}, "the walk starts at the head");
    if (head->ch == '*') {
        CharNode* node = newCharNode('#', head);
        drawCharList(head, {{"node", node, made}, {"cur", cur}}, "the head is a '*'");
        head = node;
        drawCharList(head, {{"node", node}, {"cur", cur}}, "the '#' comes first");
    }
    // cur is looked at only after it moves, so the nodes inserted behind it
    // are never visited.
    while (cur->next != nullptr) {
        CharNode* prev = cur;
        cur = cur->next;
        drawCharList(head, {{"prev", prev}, {"cur", cur}}, "%s is not the last node",
                     quoted(prev->ch).text);
        if (cur->ch == '*') {
            CharNode* node = newCharNode('#', cur);
            drawCharList(head, {{"prev", prev}, {"node", node, made}, {"cur", cur}},
                         "cur is a '*'");
            prev->next = node;
            drawCharList(head, {{"prev", prev}, {"node", node}, {"cur", cur}},
                         "the '#' goes before the '*'");
        }
    }

    printCharList("NEW spisok", head);
    return finishOutput();
}
