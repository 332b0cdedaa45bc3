// Draws lists described on standard input, three lines a drawing, so that
// the layout's rules can be pinned by small table rows without a whole
// program run:
//
//     1 2 3 4 5                      the values, in list order
//     cur=2 tail=4 node=*9>1:made    pointers by index (-1: NULL); head is
//                                    the first node; *text>next:word is a
//                                    node beside the list
//     cur = cur->next; // why        the caption
#include "code.h"
#include "console.h"
#include "draw.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Node {
    char text[16];
    const Node* next;
};

Node nodes[1200];
Node beside;

constexpr NodeReading reading = {
    [](const void* node) -> const void* { return static_cast<const Node*>(node)->next; },
    [](const void* node, char (&out)[16]) {
        std::memcpy(out, static_cast<const Node*>(node)->text, sizeof out);
        return static_cast<int>(std::strlen(out));
    },
    spanOf<Node>,
};

// The caption's code is the row's, up to " // "; the rest is the reason.
[[gnu::format(printf, 5, 6)]] void draw(const char* caption, const Pointer& head,
                                        const Pointer (&pointers)[5], const Pointer& last,
                                        const char* format, ...)
{
    static Code code;
    const char* why = std::strstr(caption, "// ");
    const int length = why != nullptr ? static_cast<int>(why - caption) : 0;
    std::snprintf(code.text, sizeof code.text, "%.*s", std::max(length - 1, 0), caption);
    std::va_list args;
    va_start(args, format);
    drawListWithCode(code, reading, head,
                     {pointers[0], pointers[1], pointers[2], pointers[3], pointers[4]}, last,
                     format, args);
    va_end(args);
}

const Node* nodeAt(int index, int count)
{
    return index >= 0 && index < count ? &nodes[index] : nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    startProgram(argc, argv, "Draws the lists described on standard input.\n", "");
    console.drawing = true;
    static char values[8192];
    static char names[512];
    static char caption[256];
    while (readLine(values, sizeof values, stdin) && readLine(names, sizeof names, stdin) &&
           readLine(caption, sizeof caption, stdin)) {
        int count = 0;
        for (char* value = std::strtok(values, " "); value != nullptr && count < 1200;
             value = std::strtok(nullptr, " "))
            std::snprintf(nodes[count++].text, sizeof nodes[0].text, "%s", value);
        for (int i = 0; i < count; ++i)
            nodes[i].next = nodeAt(i + 1, count);
        Pointer pointers[5] = {{nullptr, nullptr},
                               {nullptr, nullptr},
                               {nullptr, nullptr},
                               {nullptr, nullptr},
                               {nullptr, nullptr}};
        Pointer last = {nullptr, nullptr};
        int given = 0;
        static char words[8][32];
        for (char* token = std::strtok(names, " "); token != nullptr && given < 5;
             token = std::strtok(nullptr, " ")) {
            char* value = std::strchr(token, '=');
            if (value == nullptr)
                continue;
            *value++ = '\0';
            Pointer pointer = {token, nodeAt(std::atoi(value), count)};
            if (*value == '*') { // text>next:word
                char* next = std::strchr(value, '>');
                char* word = next != nullptr ? std::strchr(next, ':') : nullptr;
                if (next != nullptr)
                    *next++ = '\0';
                if (word != nullptr)
                    *word++ = '\0';
                std::snprintf(beside.text, sizeof beside.text, "%s", value + 1);
                beside.next = next != nullptr ? nodeAt(std::atoi(next), count) : nullptr;
                std::snprintf(words[given], sizeof words[0], "%s", word != nullptr ? word : "");
                pointer = {token, &beside,
                           std::strcmp(words[given], "unlinked") == 0   ? unlinked
                           : std::strcmp(words[given], "released") == 0 ? released
                                                                        : made};
            }
            if (std::strcmp(token, "tail") == 0)
                last = pointer;
            else
                pointers[given++] = pointer;
        }
        const char* why = std::strstr(caption, "// ");
        draw(caption, {"head", nodeAt(0, count)}, pointers, last, "%s",
             why != nullptr ? why + 3 : caption);
    }
    return finishOutput();
}
