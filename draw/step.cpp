// --step: every drawing waits for a key, and the last ones can be paged
// back through. They are kept as scenes, so that paging back reads nothing
// of the list, whose nodes may be released by then, and a step shown again
// is laid out at the width of that moment.
#include "console.h"
#include "draw.h"
#include "scene.h"

#include <cstdio>

namespace {

constexpr int kept = 100; // drawings that can be shown again

Scene history[kept];
long count = 0;         // drawings kept so far; drawing n is history[n % kept]
bool inputOver = false; // the dialogue is over (inputDone)
bool quit = false;      // q was pressed: no more waiting
Drawing text;

void show(const Scene& scene)
{
    layOut(scene, drawingWidth(), text);
    std::fwrite(text.text, 1, static_cast<std::size_t>(text.length), stdout);
}

// The line shown while a step waits: its number and the keys, in as many
// words as the terminal's own width has room for (COLUMNS may be wrong).
void hintFor(long step, char (&hint)[80])
{
    const char* forms[] = {"step %ld: space or Enter next, b back, q no more stops",
                           "step %ld: space next, b back, q run on", "%ld: space b q", "%ld"};
    const int columns = terminalColumns();
    const int room = (columns > 0 ? columns : drawingWidth()) - 1;
    for (const char* form : forms)
        if (std::snprintf(hint, sizeof hint, form, step) <= room)
            return;
    hint[room > 0 ? room : 0] = '\0';
}

} // namespace

void inputDone() { inputOver = true; }

void showScene(const Scene& scene)
{
    show(scene);
    if (!stepping || quit || !stepKeysReady())
        return;
    history[count % kept] = scene;
    ++count;
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
            releaseStepKeys();
            return;
        }
        if (key == StepKey::next && shown + 1 == count)
            return;
        if (key == StepKey::next)
            ++shown;
        else if (key == StepKey::back && shown > 0 && shown > count - kept)
            --shown;
        else
            continue; // another key, or a resize: the hint is sized again
        show(history[shown % kept]);
    }
}
