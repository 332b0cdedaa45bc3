#include "intlist.h"

#include "console.h"
#include "draw.h"
#include "inttext.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

IntNode* head;
IntNode* tail;
IntNode* cursor;
char line[12]; // receives every line of the dialogue

Place append(std::int32_t /*value*/) { return Place::atTail; }
Place push(std::int32_t /*value*/) { return Place::atHead; }

IntNode* newIntNode(std::int32_t value)
{
    auto* node = allocateNode<IntNode>();
    node->value = value;
    node->next = nullptr;
    return node;
}

void readIntList(PlacementRule rule, const char* headWhy, const char* tailWhy)
{
    std::puts("Input integer value or ENTER");
    flushOutput(); // shown before we block, even when output is a pipe
    readLine(line, sizeof line, stdin);
    // The first line is taken whatever it holds: even an empty one is a 0.
    IntNode* node = newIntNode(toInt32(line));
    drawIntList({{"node", node, made}}, "%d was typed", node->value);
    head = tail = node;
    drawIntList({{"node", node}}, "the first node is the whole list");
    while (readLine(line, sizeof line, stdin) && std::strlen(line) != 0) {
        node = newIntNode(toInt32(line));
        drawIntList({{"node", node, made}}, "%d was typed", node->value);
        if (rule(node->value) == Place::atTail) {
            tail->next = node;
            drawIntList({{"node", node}}, "%d %s", node->value, tailWhy);
            tail = node;
            drawIntList({{"node", node}}, "node is the last node now");
        } else {
            node->next = head;
            drawIntList({{"node", node, made}}, "%d %s", node->value, headWhy);
            head = node;
            drawIntList({{"node", node}}, "node is the first node now");
        }
    }
    inputDone();
}

void printIntList(const char* heading)
{
    std::puts(heading);
    for (cursor = head; cursor != nullptr; cursor = cursor->next)
        printField5(cursor->value);
    std::printf("\n");
    flushOutput();
}

namespace {

constexpr NodeReading intReading = {
    [](const void* node) -> const void* { return static_cast<const IntNode*>(node)->next; },
    [](const void* node, char (&out)[16]) {
        char field[12];
        const char* text = formatField5(static_cast<const IntNode*>(node)->value, field);
        while (*text == ' ')
            ++text;
        auto length = static_cast<int>(std::end(field) - text);
        std::memcpy(out, text, static_cast<std::size_t>(length));
        return length;
    },
    spanOf<IntNode>,
};

} // namespace

void drawIntListAt(const char* file, int callLine, std::initializer_list<Pointer> pointers,
                   const char* format, ...)
{
    if (!console.drawing)
        return;
    std::va_list args;
    va_start(args, format);
    drawList(file, callLine, intReading, {"head", head}, pointers, {"tail", tail}, format, args);
    va_end(args);
}
