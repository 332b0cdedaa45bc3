// --step: every drawing waits for a key. Where the terminal allows, in a
// full-screen view (view.cpp) that goes forward, back and jumps through the
// steps and takes typed input itself; elsewhere the drawings scroll, with a
// hint while a step waits. Steps are kept as scenes, so that going back
// reads nothing of the list, whose nodes may be released by then, and a
// step shown again is the screen it was, laid out at the size of that
// moment. What each key does is said here, once, a table for each mode.
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

using Kind = KeyPress::Kind;

// ---- The stepper's state ----------------------------------------------------

constexpr long kept = 1000; // steps that can be shown again

struct Kept {
    Scene scene;
    bool firstAtSite = false; // the first step drawn by its draw call
    long outputEnd = 0;       // the output so far, in bytes, when it was made
};

enum class Mode {
    wait,      // every step waits for a key
    toNewSite, // on to the next step of a draw call not met before
    toInput,   // on to the next line the program reads, or its end
    quit,      // no more waiting
};

// The next line the program reads, typed in the view, and what of it is
// given to the program so far.
struct Typing {
    char typed[256] = {};
    int typedLength = 0;
    char given[sizeof typed + 1] = {};
    int givenLength = 0;
    int givenAt = 0;
    bool open = false;         // the input line is open
    bool openedByStep = false; // a step key ran on into it: its repeats are not typed
    bool ended = false;        // the end of input was given: it stays the end
};

struct Stepper {
    Kept* history = nullptr; // made at the first step kept: a long walk keeps many
    long count = 0;          // steps so far; step n (from 0) is history[n % kept]
    const Code* sites[128] = {};
    int siteCount = 0;
    Mode mode = Mode::wait;
    bool viewing = false;   // the full-screen view is open
    bool inputOver = false; // the dialogue is over (inputDone)
    bool ended = false;     // the program has ended
    long shown = 0;         // the step on the screen (from 0)
    const char* note = nullptr;
    Typing line;
    Drawing text; // a scrolling step's drawing
};

Stepper stepper;

Kept& at(long n) { return stepper.history[n % kept]; }
long latest() { return stepper.count - 1; }
long oldest() { return std::max(stepper.count - kept, 0L); }

bool firstAt(const Code* code)
{
    const Code** end = stepper.sites + stepper.siteCount;
    if (std::find(stepper.sites, end, code) != end)
        return false;
    if (stepper.siteCount < static_cast<int>(std::size(stepper.sites)))
        stepper.sites[stepper.siteCount++] = code;
    return true;
}

Kept& keep(const Scene& scene)
{
    if (stepper.history == nullptr) {
        void* room = std::malloc(sizeof(Kept) * kept);
        if (room == nullptr)
            outOfMemory();
        stepper.history = static_cast<Kept*>(room);
        for (long n = 0; n < kept; ++n)
            ::new (&stepper.history[n]) Kept;
    }
    Kept& slot = at(stepper.count++);
    copyScene(scene, slot.scene);
    slot.firstAtSite = firstAt(scene.code);
    slot.outputEnd = stepper.viewing ? keptLength() : 0;
    return slot;
}

// ---- The view ---------------------------------------------------------------

// Shows the step shown, with the keys of the mode.
void showStep(KeyMode keys)
{
    Typing& line = stepper.line;
    line.typed[line.typedLength] = '\0';
    ViewState state;
    state.step = stepper.shown + 1;
    state.steps = stepper.count;
    state.ended = stepper.ended;
    state.note = stepper.note;
    const bool live = stepper.shown >= latest();
    state.outputEnd = live || stepper.count == 0 ? -1 : at(stepper.shown).outputEnd;
    state.typed = keys == KeyMode::line && live ? line.typed : nullptr;
    KeyName names[8];
    state.keys = std::span<const KeyName>(names, static_cast<std::size_t>(statusKeys(keys, names)));
    showView(stepper.count > 0 ? &at(stepper.shown).scene : nullptr, state);
}

void leaveView()
{
    stepper.mode = Mode::quit;
    closeScreen();
}

// The next step after from that the draw call made first, or -1.
long nextFirst(long from)
{
    for (long n = from + 1; n < stepper.count; ++n)
        if (at(n).firstAtSite)
            return n;
    return -1;
}

// Moves the view for a key that pages through the kept steps; returns
// false for one that lets the program go on from the latest step.
bool page(Action action)
{
    stepper.note = nullptr;
    long& shown = stepper.shown;
    switch (action) {
    case Action::next:
        if (shown < latest()) {
            ++shown;
            return true;
        }
        return stepper.ended;
    case Action::back:
        if (shown > oldest())
            --shown;
        else if (shown > 0)
            stepper.note = "the steps before are no longer kept";
        return true;
    case Action::first:
        shown = oldest();
        return true;
    case Action::latest:
        if (shown < latest() || stepper.ended) {
            shown = latest();
            return true;
        }
        stepper.mode = Mode::toInput;
        return false;
    case Action::newCode: {
        const long found = nextFirst(shown);
        if (found >= 0 || stepper.ended) {
            shown = found >= 0 ? found : latest();
            return true;
        }
        shown = latest();
        stepper.mode = Mode::toNewSite;
        return false;
    }
    default:
        return true;
    }
}

// Whether a key is the start of the next line the program reads: a
// character that is no step key, while the program still reads its input
// from the view.
bool startsLine(const KeyPress& key)
{
    return key.kind == Kind::text && actionOf(KeyMode::view, key) == Action::none &&
           console.typedInput != nullptr && !stepper.inputOver && !stepper.line.ended;
}

// The view at the latest step until a key lets the program go on.
void waitInView()
{
    stepper.mode = Mode::wait;
    stepper.shown = latest();
    for (;;) {
        showStep(KeyMode::view);
        const KeyPress key = readStepKey(nullptr);
        const bool fits = viewFits();
        const Action action = actionOf(KeyMode::view, key);
        if (action == Action::leave) {
            leaveView();
            return;
        }
        if (!fits || key.kind == Kind::redraw)
            continue;
        if (startsLine(key)) {
            Typing& line = stepper.line;
            std::memcpy(line.typed, key.text, static_cast<std::size_t>(key.length));
            line.typedLength = key.length;
            line.openedByStep = false;
            stepper.mode = Mode::toInput;
            return;
        }
        if (!page(action)) {
            stepper.line.openedByStep = true;
            return;
        }
    }
}

// ---- The input line ---------------------------------------------------------

enum class Edited { line, endOfInput, left };

// The line, as a terminal would have echoed it, joins the output.
void give(bool endOfLine)
{
    Typing& line = stepper.line;
    std::memcpy(line.given, line.typed, static_cast<std::size_t>(line.typedLength));
    line.givenLength = line.typedLength;
    if (endOfLine)
        line.given[line.givenLength++] = '\n';
    line.givenAt = 0;
    std::fwrite(line.given, 1, static_cast<std::size_t>(line.givenLength), stdout);
    line.typedLength = 0;
    line.open = false;
}

// A character typed into the open line; a step key held past the last
// step repeats, and is not typed.
void typeText(const KeyPress& key)
{
    Typing& line = stepper.line;
    if (line.openedByStep && line.typedLength == 0 && key.repeat &&
        actionOf(KeyMode::view, key) != Action::none)
        return;
    if (line.typedLength + key.length < static_cast<int>(sizeof line.typed) - 1) {
        std::memcpy(line.typed + line.typedLength, key.text, static_cast<std::size_t>(key.length));
        line.typedLength += key.length;
    }
}

// The end of input: Ctrl-D ends an empty line so; a hang-up ends any,
// and what was typed is the last line, as at a terminal. False while the
// line goes on.
bool endInput(const KeyPress& key, Edited& edited)
{
    Typing& line = stepper.line;
    if (line.typedLength > 0 && key.kind == Kind::endOfInput)
        return false;
    if (line.typedLength > 0)
        give(false);
    line.ended = true;
    edited = line.givenLength > 0 ? Edited::line : Edited::endOfInput;
    if (key.kind == Kind::hangUp)
        leaveView();
    return true;
}

// One key in the open input line, by the line's table; false when the
// line is done (how, in edited).
bool typeKey(const KeyPress& key, Edited& edited)
{
    Typing& line = stepper.line;
    switch (actionOf(KeyMode::line, key)) {
    case Action::give:
        if (line.openedByStep && line.typedLength == 0 && key.repeat)
            return true; // the Enter held past the last step
        give(true);
        edited = Edited::line;
        return false;
    case Action::endInput:
        return !endInput(key, edited);
    case Action::erase:
        while (line.typedLength > 0 && (line.typed[--line.typedLength] & 0xc0) == 0x80) {
        }
        return true;
    case Action::latest:
        stepper.shown = std::max(latest(), 0L);
        return true;
    case Action::toSteps:
        line.open = false;
        return true;
    case Action::none:
        if (key.kind == Kind::text)
            typeText(key);
        return true;
    default:
        page(actionOf(KeyMode::line, key));
        return true;
    }
}

// One key while the line waits behind the steps (after Esc): the view's
// keys page; a key that goes on from the latest step, or a character that
// is no step key, opens the line again.
bool pageKey(const KeyPress& key, Edited& edited)
{
    const Action action = actionOf(KeyMode::view, key);
    if (action == Action::leave) {
        leaveView();
        edited = Edited::left;
        return false;
    }
    Typing& line = stepper.line;
    if (startsLine(key)) {
        line.open = true;
        line.openedByStep = false;
        return typeKey(key, edited);
    }
    if (action != Action::none && !page(action)) {
        stepper.mode = Mode::wait;
        stepper.shown = std::max(latest(), 0L);
        line.open = true;
    }
    return true;
}

// Edits the next line the program reads, in the view: characters,
// Backspace, Enter to give it, Ctrl-D on an empty line for the end of
// input; the arrows and Home and End page through the steps meanwhile,
// Esc all the view's keys until the line is taken up again.
Edited editLine()
{
    Typing& line = stepper.line;
    stepper.mode = Mode::wait;
    stepper.note = nullptr;
    stepper.shown = std::max(latest(), 0L);
    line.open = true;
    Edited edited = Edited::left;
    for (;;) {
        showStep(line.open ? KeyMode::line : KeyMode::view);
        const KeyPress key = readStepKey(nullptr);
        const bool fits = viewFits();
        if (!fits && actionOf(KeyMode::view, key) == Action::leave) {
            leaveView();
            return Edited::left;
        }
        if (!fits || key.kind == Kind::redraw)
            continue;
        if (!(line.open ? typeKey(key, edited) : pageKey(key, edited)))
            return edited;
    }
}

// Standard input, while the view is open and it is the terminal.
int typedChar()
{
    Typing& line = stepper.line;
    if (line.givenAt < line.givenLength)
        return static_cast<unsigned char>(line.given[line.givenAt++]);
    line.givenLength = 0;
    if (line.ended)
        return EOF;
    if (!screenIsOpen()) {
        // Left for good: what was typed of the line comes first.
        console.typedInput = nullptr;
        if (line.typedLength > 0) {
            give(false);
            return typedChar();
        }
        return readChar(stdin);
    }
    const Edited edited = editLine();
    if (edited == Edited::endOfInput)
        return EOF;
    return typedChar();
}

// posremove's key wait, a step of its own: a key that pages through the
// steps pages; any other, at the latest step, is the program's key.
bool keyInView()
{
    if (!stepper.viewing || stepper.mode == Mode::quit || !screenIsOpen())
        return false;
    stepper.shown = std::max(latest(), 0L);
    for (;;) {
        const bool atWait = stepper.shown == latest();
        const KeyMode mode = atWait ? KeyMode::wait : KeyMode::view;
        showStep(mode);
        const KeyPress key = readStepKey(nullptr);
        const bool fits = viewFits();
        const Action action = actionOf(mode, key);
        if (action == Action::leave) {
            leaveView();
            return false; // the program's own wait, on the normal screen
        }
        if (!fits || key.kind == Kind::redraw)
            continue;
        if (atWait && action == Action::none)
            return true;
        page(action);
    }
}

// At the end: the view stays at the last step, "step M of M", until q.
void endView()
{
    if (!stepper.viewing || !screenIsOpen())
        return;
    stepper.ended = true;
    stepper.mode = Mode::wait;
    stepper.note = nullptr;
    stepper.shown = std::max(latest(), 0L);
    for (;;) {
        showStep(KeyMode::view);
        const KeyPress key = readStepKey(nullptr);
        const bool fits = viewFits();
        const Action action = actionOf(KeyMode::view, key);
        if (action == Action::leave)
            break;
        if (fits && key.kind != Kind::redraw)
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
    stepper.viewing = true;
    if (keyWaits())
        console.typedInput = typedChar;
    console.keyWait = keyInView;
    console.onFinish = endView;
}

[[maybe_unused]] const bool hooked =
    (console.onStepping = openView, console.keysHelp = printKeys, true);

// ---- The scrolling --step ------------------------------------------------------

void print(const Scene& scene)
{
    layOut(scene, drawingWidth(), stepper.text);
    std::fwrite(stepper.text.text, 1, static_cast<std::size_t>(stepper.text.length), stdout);
}

// The hint that fits the terminal's own width.
void hintFor(long step, char (&hint)[80])
{
    const int columns = terminalColumns();
    scrollHint(step, (columns > 0 ? columns : drawingWidth()) - 1, hint);
}

// The drawing printed, then a hint while it waits.
void scroll(const Scene& scene)
{
    print(scene);
    if (!console.stepping || stepper.mode == Mode::quit || !stepKeysReady())
        return;
    keep(scene);
    // While the input is typed at the same terminal, the typing paces.
    if (!stepper.inputOver && stepKeysFromInput())
        return;
    long shown = latest(); // the drawing last printed
    for (;;) {
        char hint[80];
        hintFor(shown + 1, hint);
        const Action action = actionOf(KeyMode::scroll, readStepKey(hint));
        if (action == Action::leave) {
            stepper.mode = Mode::quit;
            releaseStepKeys();
            return;
        }
        if (action == Action::next && shown == latest())
            return;
        if (action == Action::next)
            ++shown;
        else if (action == Action::back && shown > oldest())
            --shown;
        else
            continue; // another key, or a resize: the hint is sized again
        print(at(shown).scene);
    }
}

} // namespace

void inputDone() { stepper.inputOver = true; }

void showScene(const Scene& scene)
{
    if (console.tracing) {
        traceScene(scene);
        return;
    }
    if (!stepper.viewing) {
        scroll(scene);
        return;
    }
    if (stepper.mode == Mode::quit)
        return;
    keep(scene);
    if (stepper.mode == Mode::toInput ||
        (stepper.mode == Mode::toNewSite && !at(latest()).firstAtSite))
        return;
    waitInView();
}

bool noteStep(const Code& code, const char* caption)
{
    if (!stepper.viewing)
        return false;
    if (stepper.mode == Mode::quit || !screenIsOpen() || stepper.count == 0)
        return true; // left: nothing more is drawn
    // The list as last drawn, under the note's caption.
    Kept& slot = keep(at(latest()).scene);
    slot.scene.code = &code;
    std::snprintf(slot.scene.caption, sizeof slot.scene.caption, "%s", caption);
    slot.firstAtSite = firstAt(&code);
    return true;
}
