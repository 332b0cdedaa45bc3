#include "charlist.h"

#include "console.h"
#include "draw.h"

#include <cstdarg>
#include <cstdio>

CharNode* newCharNode(char ch, CharNode* next)
{
    auto* node = allocateNode<CharNode>();
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
    drawCharList(head, {}, "the line read, one node per character");
    inputDone();
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

namespace {

// A character as drawn: itself when printable, else an escape that shows
// it and keeps the columns: ' ', \0, \x1b.
constexpr NodeReading charReading = {
    [](const void* node) -> const void* { return static_cast<const CharNode*>(node)->next; },
    [](const void* node, char (&out)[16]) {
        auto ch = static_cast<unsigned char>(static_cast<const CharNode*>(node)->ch);
        if (ch == ' ')
            return std::snprintf(out, sizeof out, "' '");
        if (ch == '\\')
            return std::snprintf(out, sizeof out, "\\\\");
        if (ch == '\0')
            return std::snprintf(out, sizeof out, "\\0");
        if (ch < ' ' || ch > '~')
            return std::snprintf(out, sizeof out, "\\x%02x", ch);
        out[0] = static_cast<char>(ch);
        return 1;
    },
    spanOf<CharNode>,
};

} // namespace

Quoted quoted(char ch)
{
    Quoted out{};
    char text[16];
    const CharNode node{ch, nullptr};
    const int length = charReading.text(&node, text);
    std::snprintf(out.text, sizeof out.text, ch == ' ' ? "%.*s" : "'%.*s'", length, text);
    return out;
}

void drawCharListAt(const char* file, int line, const CharNode* head,
                    std::initializer_list<Pointer> pointers, const char* format, ...)
{
    if (!console.drawing)
        return;
    // A line makes at most 78 nodes, so the walk to the last is short.
    const CharNode* last = head;
    while (last != nullptr && last->next != nullptr)
        last = last->next;
    std::va_list args;
    va_start(args, format);
    drawList(file, line, charReading, {"head", head}, pointers, {nullptr, last}, format, args);
    va_end(args);
}
