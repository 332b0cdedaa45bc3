// --step: every drawing waits for a key. Where the terminal allows, in a
// full-screen view (view.cpp) that goes forward, back and jumps through the
// steps and takes typed input itself; elsewhere the drawings scroll, with a
// hint while a step waits. Steps are kept as scenes, so that going back
// reads nothing of the list, whose nodes may be released by then, and a
// step shown again is laid out at the size of that moment. What each key
// does is said here, once.
#include "console.h"
#include "draw.h"
#include "scene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>

namespace {

// ---- The keys -------------------------------------------------------------

enum class Action { none, next, back, first, latest, newLine, quit };

struct Binding {
    KeyPress::Kind kind;
    char text; // the character, for KeyPress::Kind::text
    Action action;
};

using Kind = KeyPress::Kind;
constexpr Binding bindings[] = {
    {Kind::text, ' ', Action::next},   {Kind::enter, 0, Action::next},
    {Kind::right, 0, Action::next},    {Kind::text, 'j', Action::next},
    {Kind::text, 'b', Action::back},   {Kind::left, 0, Action::back},
    {Kind::text, 'k', Action::back},   {Kind::home, 0, Action::first},
    {Kind::text, 'g', Action::first},  {Kind::end, 0, Action::latest},
    {Kind::text, 'G', Action::latest}, {Kind::text, 'n', Action::newLine},
    {Kind::text, 'q', Action::quit},   {Kind::endOfInput, 0, Action::quit},
};

// How the keys are named on screen, in the order room is given to them.
constexpr const char* viewKeys[] = {"space next", "b back",  "q leave",
                                    "n new line", "g first", "G latest"};
constexpr const char* typingKeys[] = {"Enter gives the line", "<- -> steps"};
constexpr const char* scrollHints[] = {"step %ld: space or Enter next, b back, q no more stops",
                                       "step %ld: space next, b back, q run on", "%ld: space b q",
                                       "%ld"};

Action actionOf(const KeyPress& key)
{
    for (const Binding& binding : bindings)
        if (binding.kind == key.kind &&
            (key.kind != Kind::text || (key.length == 1 && key.text[0] == binding.text)))
            return binding.action;
    return Action::none;
}

// ---- The steps kept -------------------------------------------------------

constexpr long kept = 1000; // steps that can be shown again

struct Kept {
    Scene scene;
    bool firstAtSite = false; // the first step drawn by its draw call
};

Kept* history = nullptr; // made at the first step kept: a long walk keeps many
long count = 0;          // steps so far; step n (from 0) is history[n % kept]

// The draw calls met so far, for the steps made by one not made before.
const Code* sites[128];
int siteCount = 0;

bool firstAt(const Scene& scene)
{
    const Code** end = sites + siteCount;
    if (std::find(sites, end, scene.code) != end)
        return false;
    if (siteCount < static_cast<int>(std::size(sites)))
        sites[siteCount++] = scene.code;
    return true;
}

// A copy of what the scene uses: a walk over a long list keeps many.
void keep(const Scene& scene)
{
    if (history == nullptr) {
        void* room = std::malloc(sizeof(Kept) * kept);
        if (room == nullptr)
            outOfMemory();
        history = static_cast<Kept*>(room);
        for (long n = 0; n < kept; ++n)
            ::new (&history[n]) Kept;
    }
    Kept& slot = history[count % kept];
    Scene& to = slot.scene;
    to.code = scene.code;
    std::memcpy(to.caption, scene.caption, std::strlen(scene.caption) + 1);
    std::copy(scene.cells, scene.cells + scene.cellCount, to.cells);
    to.cellCount = scene.cellCount;
    std::copy(scene.names, scene.names + scene.nameCount, to.names);
    to.nameCount = scene.nameCount;
    to.nullNames = scene.nullNames;
    to.aside = scene.aside;
    to.asideValue = scene.asideValue;
    to.asideNames = scene.asideNames;
    to.asideWord = scene.asideWord;
    to.asideMarked = scene.asideMarked;
    to.asideTarget = scene.asideTarget;
    slot.firstAtSite = firstAt(scene);
    ++count;
}

long oldest() { return std::max(count - kept, 0L); }

Drawing text;

void print(const Scene& scene)
{
    layOut(scene, drawingWidth(), text);
    std::fwrite(text.text, 1, static_cast<std::size_t>(text.length), stdout);
}

// ---- Where the steps go ---------------------------------------------------

enum class Mode {
    wait,      // every step waits for a key
    toNewSite, // on to the next step of a draw call not met before
    toInput,   // on to the next line the program reads, or its end
    quit,      // no more waiting
};

Mode mode = Mode::wait;
bool viewing = false;   // the full-screen view is open
bool inputOver = false; // the dialogue is over (inputDone)
bool ended = false;     // the program has ended
long shown = 0;         // the step on the screen (from 0)
const char* note = nullptr;

// The line being typed in the view, and the one given to the program.
char typed[256];
int typedLength = 0;
char given[sizeof typed + 1];
int givenLength = 0;
int givenAt = 0;

void showStep(bool typing = false)
{
    typed[typedLength] = '\0';
    ViewState state;
    state.step = shown + 1;
    state.steps = count;
    state.ended = ended;
    state.note = note;
    state.typed = typing ? typed : nullptr;
    state.keys = typing ? std::span<const char* const>(typingKeys) : viewKeys;
    showView(count > 0 ? &history[shown % kept].scene : nullptr, state);
}

void leaveView()
{
    mode = Mode::quit;
    typedInput = nullptr;
    closeScreen();
}

// The next step after from that the draw call made first, or -1.
long nextFirst(long from)
{
    for (long n = from + 1; n < count; ++n)
        if (history[n % kept].firstAtSite)
            return n;
    return -1;
}

// Moves the view for a key that pages through the steps; returns false
// for one that lets the program go on from the latest step.
bool page(Action action)
{
    note = nullptr;
    const long latest = count - 1;
    switch (action) {
    case Action::next:
        if (shown < latest)
            ++shown;
        return shown < latest || ended;
    case Action::back:
        if (shown > oldest())
            --shown;
        else if (shown > 0)
            note = "the steps before are no longer kept";
        return true;
    case Action::first:
        shown = oldest();
        return true;
    case Action::latest:
        if (shown < latest || ended) {
            shown = latest;
            return true;
        }
        mode = Mode::toInput;
        return false;
    case Action::newLine: {
        const long found = nextFirst(shown);
        if (found >= 0 || ended) {
            shown = found >= 0 ? found : latest;
            return true;
        }
        shown = latest;
        mode = Mode::toNewSite;
        return false;
    }
    default:
        return true;
    }
}

// The view at the latest step until a key lets the program go on.
void waitInView()
{
    mode = Mode::wait;
    shown = count - 1;
    for (;;) {
        showStep();
        const KeyPress key = readStepKey(nullptr);
        const Action action = actionOf(key);
        if (key.kind == Kind::redraw)
            continue;
        if (action == Action::quit) {
            leaveView();
            return;
        }
        if (action == Action::none && key.kind == Kind::text && typedInput != nullptr &&
            !inputOver) {
            // Typed ahead: the start of the next line the program reads.
            std::memcpy(typed, key.text, static_cast<std::size_t>(key.length));
            typedLength = key.length;
            mode = Mode::toInput;
            return;
        }
        if (!page(action))
            return;
    }
}

// Edits the next line the program reads, in the view: characters, Backspace,
// Enter to give it, Ctrl-D on an empty line for the end of input; the arrows
// and Home and End page through the steps meanwhile. Returns false at the
// end of input.
bool editLine()
{
    mode = Mode::wait;
    note = nullptr;
    shown = std::max(count - 1, 0L);
    for (;;) {
        showStep(true);
        const KeyPress key = readStepKey(nullptr);
        switch (key.kind) {
        case Kind::text:
            if (typedLength + key.length < static_cast<int>(sizeof typed) - 1) {
                std::memcpy(typed + typedLength, key.text, static_cast<std::size_t>(key.length));
                typedLength += key.length;
            }
            break;
        case Kind::backspace:
            while (typedLength > 0 && (typed[--typedLength] & 0xc0) == 0x80) {
            }
            break;
        case Kind::enter:
            // The line, as a terminal would have echoed it, joins the output.
            std::memcpy(given, typed, static_cast<std::size_t>(typedLength));
            given[typedLength] = '\n';
            givenLength = typedLength + 1;
            givenAt = 0;
            std::fwrite(given, 1, static_cast<std::size_t>(givenLength), stdout);
            typedLength = 0;
            return true;
        case Kind::endOfInput:
            if (typedLength == 0)
                return false;
            break;
        case Kind::left:
            page(Action::back);
            break;
        case Kind::right:
            page(Action::next);
            break;
        case Kind::home:
            page(Action::first);
            break;
        case Kind::end:
            shown = std::max(count - 1, 0L);
            break;
        default:
            break;
        }
    }
}

// Standard input, while the view is open and it is the terminal.
int typedChar()
{
    if (givenAt < givenLength)
        return static_cast<unsigned char>(given[givenAt++]);
    if (!screenIsOpen()) {
        typedInput = nullptr;
        return readChar(stdin);
    }
    if (!editLine())
        return EOF;
    return static_cast<unsigned char>(given[givenAt++]);
}

// At the exit: the view stays at the last step, "step M of M", until q.
void endView()
{
    if (!viewing || !screenIsOpen())
        return;
    ended = true;
    mode = Mode::wait;
    note = nullptr;
    shown = std::max(count - 1, 0L);
    for (;;) {
        showStep();
        const KeyPress key = readStepKey(nullptr);
        const Action action = actionOf(key);
        if (action == Action::quit)
            break;
        if (key.kind != Kind::redraw)
            page(action);
    }
    closeScreen();
}

// With --step, from the start: the view, where the terminal has room for
// it; its typed input too, where standard input is the terminal.
void openView()
{
    if (!stepKeysReady() || !openScreen(40, 16))
        return;
    viewing = true;
    if (keyWaits())
        typedInput = typedChar;
    std::atexit(endView);
}

[[maybe_unused]] const bool hooked = (onStepping = openView, true);

// The scrolling --step: the drawing printed, then a hint while it waits.
void scroll(const Scene& scene)
{
    print(scene);
    if (!stepping || mode == Mode::quit || !stepKeysReady())
        return;
    keep(scene);
    // While the input is typed at the same terminal, the typing paces.
    if (!inputOver && stepKeysFromInput())
        return;
    long at = count - 1; // the drawing last printed
    for (;;) {
        char hint[80];
        const int columns = terminalColumns();
        const int room = (columns > 0 ? columns : drawingWidth()) - 1;
        for (const char* form : scrollHints)
            if (std::snprintf(hint, sizeof hint, form, at + 1) <= room)
                break;
        hint[std::clamp(room, 0, static_cast<int>(sizeof hint) - 1)] = '\0';
        const Action action = actionOf(readStepKey(hint));
        if (action == Action::quit) {
            mode = Mode::quit;
            releaseStepKeys();
            return;
        }
        if (action == Action::next && at + 1 == count)
            return;
        if (action == Action::next)
            ++at;
        else if (action == Action::back && at > oldest())
            --at;
        else
            continue; // another key, or a resize: the hint is sized again
        print(history[at % kept].scene);
    }
}

} // namespace

void inputDone() { inputOver = true; }

void showScene(const Scene& scene)
{
    if (!viewing) {
        scroll(scene);
        return;
    }
    if (mode == Mode::quit)
        return;
    keep(scene);
    if (mode == Mode::toInput ||
        (mode == Mode::toNewSite && !history[(count - 1) % kept].firstAtSite))
        return;
    waitInView();
}

bool noteInView(const char* caption)
{
    if (!viewing || mode == Mode::quit || !screenIsOpen())
        return false;
    static char line[256];
    std::snprintf(line, sizeof line, "-- %s", caption); // as --draw writes it
    note = line;
    shown = std::max(count - 1, 0L);
    showStep();
    return true;
}
