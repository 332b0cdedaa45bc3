#include "charlist.h"

#include "console.h"

#include <cstdio>
#include <cstdlib>

// malloc, not new: the C++ runtime reports failure with an exception, and
// when memory is that tight the exception itself cannot be made.
CharNode* newCharNode(char ch, CharNode* next)
{
    auto* node = static_cast<CharNode*>(std::malloc(sizeof(CharNode)));
    if (node == nullptr)
        outOfMemory();
    node->ch = ch;
    node->next = next;
    return node;
}

CharNode* readCharList(char (&st)[40])
{
    std::puts("Input string with *");
    flushOutput();                  // shown before we block, even when output is a pipe
    readLine(st, sizeof st, stdin); // end of input reads as an empty line
    // The first node is made whatever the line holds, even the bare NUL.
    CharNode* head = newCharNode(st[0], nullptr);
    CharNode* tail = head;
    if (st[0] != '\0') {
        for (int i = 1; st[i] != '\0'; ++i) {
            tail->next = newCharNode(st[i], nullptr);
            tail = tail->next;
        }
    }
    return head;
}

void printCharList(const char* heading, const CharNode* head)
{
    std::puts(heading);
    for (const CharNode* node = head; node != nullptr; node = node->next)
        std::printf("%2c", node->ch);
    std::printf("\n");
    flushOutput();
}
