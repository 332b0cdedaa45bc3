// --step: every drawing waits for a key, and the last ones can be paged
// back through. They are kept as text, so that paging back reads nothing
// of the list, whose nodes may be released by then.
#include "draw.h"

#include "console.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kept = 100; // drawings that can be shown again

struct Kept {
    char* text = nullptr;
    int length = 0;
};

Kept history[kept];
long count = 0;         // drawings kept so far; drawing n is history[n % kept]
bool inputOver = false; // the dialogue is over (inputDone)
bool quit = false;      // q was pressed: no more waiting

void print(const char* text, int length)
{
    std::fwrite(text, 1, static_cast<std::size_t>(length), stdout);
}

// Keeps a copy of the drawing, in place of the oldest once there are
// `kept`. Without memory for it, the drawing is simply not kept.
void keep(const char* text, int length)
{
    Kept& slot = history[count % kept];
    std::free(slot.text);
    slot.text = static_cast<char*>(std::malloc(static_cast<std::size_t>(length)));
    slot.length = slot.text != nullptr ? length : 0;
    if (slot.text != nullptr)
        std::memcpy(slot.text, text, static_cast<std::size_t>(length));
    ++count;
}

// The line shown while a step waits: its number and the keys, in as many
// words as the width has room for.
void hintFor(long step, char (&hint)[80])
{
    const char* forms[] = {"step %ld: space or Enter next, b back, q no more stops",
                           "step %ld: space next, b back, q run on", "%ld: space b q", "%ld"};
    const int room = drawingWidth() - 1;
    for (const char* form : forms)
        if (std::snprintf(hint, sizeof hint, form, step) <= room)
            return;
    hint[room > 0 ? room : 0] = '\0';
}

} // namespace

void inputDone() { inputOver = true; }

void showDrawing(const char* text, int length)
{
    print(text, length);
    if (!stepping || quit || !stepKeysReady())
        return;
    keep(text, length);
    // While the input is typed at the same terminal, the typing paces.
    if (!inputOver && stepKeysFromInput())
        return;
    long shown = count - 1; // the drawing last printed
    for (;;) {
        char hint[80];
        hintFor(shown + 1, hint);
        StepKey key = readStepKey(hint);
        if (key == StepKey::quit) {
            quit = true;
            return;
        }
        if (key == StepKey::next && shown + 1 == count)
            return;
        if (key == StepKey::next)
            ++shown;
        else if (key == StepKey::back && shown > 0 && shown > count - kept)
            --shown;
        else
            continue;
        print(history[shown % kept].text, history[shown % kept].length);
    }
}
