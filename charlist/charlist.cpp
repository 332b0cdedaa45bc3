#include "charlist.h"

#include "console.h"

#include <cstdio>
#include <new>

CharNode* newCharNode(char ch, CharNode* next)
{
    auto* node = new (std::nothrow) CharNode{ch, next};
    if (node == nullptr)
        outOfMemory();
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
}
