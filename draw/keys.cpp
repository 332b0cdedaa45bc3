#include "keys.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace {

using Kind = KeyPress::Kind;

struct Binding {
    Kind kind;
    char text; // the character, for Kind::text
    Action action;
};

// What an action is called: on the status line in full and in brief, and
// in --help; status false: --help alone names it.
struct Said {
    Action action;
    const char* full;
    const char* brief;
    const char* help;
    bool status = true;
};

struct Table {
    const char* title; // for --help
    std::span<const Binding> keys;
    std::span<const Said> said;
};

constexpr Binding viewKeys[] = {
    {Kind::text, ' ', Action::next},      {Kind::enter, 0, Action::next},
    {Kind::right, 0, Action::next},       {Kind::text, 'j', Action::next},
    {Kind::text, 'b', Action::back},      {Kind::left, 0, Action::back},
    {Kind::text, 'k', Action::back},      {Kind::text, 'q', Action::leave},
    {Kind::endOfInput, 0, Action::leave}, {Kind::hangUp, 0, Action::leave},
    {Kind::text, 'n', Action::newCode},   {Kind::text, 'g', Action::first},
    {Kind::home, 0, Action::first},       {Kind::text, 'G', Action::latest},
    {Kind::end, 0, Action::latest},
};
constexpr Said viewSaid[] = {
    {Action::next, "next", "next", "the next step"},
    {Action::back, "back", "back", "the step before, as it was (1000 are kept)"},
    {Action::leave, "leave", "quit", "leave the view; the program runs on"},
    {Action::newCode, "code not yet run", "new", "on to a step of code not yet run"},
    {Action::first, "first", "1st", "the first step kept"},
    {Action::latest, "latest", "last", "the latest step; there, on to the next read"},
};

constexpr Binding lineKeys[] = {
    {Kind::enter, 0, Action::give},      {Kind::escape, 0, Action::toSteps},
    {Kind::left, 0, Action::back},       {Kind::right, 0, Action::next},
    {Kind::home, 0, Action::first},      {Kind::end, 0, Action::latest},
    {Kind::backspace, 0, Action::erase}, {Kind::endOfInput, 0, Action::endInput},
    {Kind::hangUp, 0, Action::endInput},
};
constexpr Said lineSaid[] = {
    {Action::give, "gives the line", "give", "gives the line typed to the program"},
    {Action::toSteps, "back to the steps", "steps", "back to the steps; the line waits"},
    {Action::back, "back", "back", "the step before"},
    {Action::next, "next", "next", "the next step"},
    {Action::first, "", "", "the first step kept", false},
    {Action::latest, "", "", "the latest step", false},
    {Action::erase, "", "", "erases a character", false},
    {Action::endInput, "", "", "on an empty line: the end of input", false},
};

// posremove's key wait: the view's keys that page back, and leave; any
// other key is the program's.
constexpr Binding waitKeys[] = {
    {Kind::text, 'b', Action::back},      {Kind::left, 0, Action::back},
    {Kind::text, 'k', Action::back},      {Kind::text, 'g', Action::first},
    {Kind::home, 0, Action::first},       {Kind::text, 'q', Action::leave},
    {Kind::endOfInput, 0, Action::leave}, {Kind::hangUp, 0, Action::leave},
};
constexpr Said waitSaid[] = {
    {Action::none, "a key ends the program", "key:end", "ends the wait, and the program"},
    {Action::back, "back", "back", "the step before"},
    {Action::leave, "leave", "quit", "leave the view; the program waits on"},
    {Action::first, "", "", "the first step kept", false},
};

constexpr Binding scrollKeys[] = {
    {Kind::text, ' ', Action::next},      {Kind::enter, 0, Action::next},
    {Kind::right, 0, Action::next},       {Kind::text, 'j', Action::next},
    {Kind::text, 'b', Action::back},      {Kind::left, 0, Action::back},
    {Kind::text, 'k', Action::back},      {Kind::text, 'q', Action::leave},
    {Kind::endOfInput, 0, Action::leave}, {Kind::hangUp, 0, Action::leave},
};
constexpr Said scrollSaid[] = {
    {Action::next, "next", "next", "the next drawing"},
    {Action::back, "back", "back", "the drawing before, again"},
    {Action::leave, "no more stops", "run on", "the rest without stopping"},
};

constexpr Table tables[] = {
    {"in its full-screen view", viewKeys, viewSaid},
    {"while it reads a line in the view", lineKeys, lineSaid},
    {"at the program's own key wait (posremove's)", waitKeys, waitSaid},
    {"where the view does not open", scrollKeys, scrollSaid},
};

const Table& tableOf(KeyMode mode) { return tables[static_cast<int>(mode)]; }

// A key's name: in full ("space", "->", "Ctrl-D"), or in brief ("spc");
// nullptr for none that is typed (a hang-up).
const char* nameOf(const Binding& key, bool brief = false)
{
    static constexpr const char* letters[] = {"b", "g", "G", "j", "k", "n", "q"};
    switch (key.kind) {
    case Kind::text:
        if (key.text == ' ')
            return brief ? "spc" : "space";
        for (const char* letter : letters)
            if (*letter == key.text)
                return letter;
        return nullptr;
    case Kind::enter:
        return "Enter";
    case Kind::right:
        return "->";
    case Kind::left:
        return "<-";
    case Kind::home:
        return "Home";
    case Kind::end:
        return "End";
    case Kind::escape:
        return "Esc";
    case Kind::backspace:
        return "Backspace";
    case Kind::endOfInput:
        return "Ctrl-D";
    default:
        return nullptr;
    }
}

// The first key of an action in a table.
const Binding* firstKey(const Table& table, Action action)
{
    for (const Binding& key : table.keys)
        if (key.action == action)
            return &key;
    return nullptr;
}

} // namespace

Action actionOf(KeyMode mode, const KeyPress& key)
{
    for (const Binding& binding : tableOf(mode).keys)
        if (binding.kind == key.kind &&
            (key.kind != Kind::text || (key.length == 1 && key.text[0] == binding.text)))
            return binding.action;
    return Action::none;
}

int statusKeys(KeyMode mode, KeyName (&out)[8])
{
    const Table& table = tableOf(mode);
    int n = 0;
    for (const Said& said : table.said) {
        if (!said.status || n == static_cast<int>(std::size(out)))
            continue;
        const Binding* key = firstKey(table, said.action);
        KeyName& name = out[n++];
        if (key == nullptr) {
            std::snprintf(name.full, sizeof name.full, "%s", said.full);
            std::snprintf(name.brief, sizeof name.brief, "%s", said.brief);
        } else {
            std::snprintf(name.full, sizeof name.full, "%s %s", nameOf(*key), said.full);
            std::snprintf(name.brief, sizeof name.brief, "%s:%s", nameOf(*key, true), said.brief);
        }
    }
    return n;
}

void scrollHint(long step, int room, char (&hint)[80])
{
    // In full, in brief, the keys alone, the step alone: the first that fits.
    const Table& table = tableOf(KeyMode::scroll);
    for (int form = 0; form < 4; ++form) {
        int n = std::snprintf(hint, sizeof hint, form < 2 ? "step %ld:" : "%ld", step);
        for (std::size_t i = 0; form < 3 && i < table.said.size(); ++i) {
            const Said& said = table.said[i];
            const char* key = nameOf(*firstKey(table, said.action));
            const char* what = form == 0 ? said.full : said.brief;
            n += form < 2 ? std::snprintf(hint + n, sizeof hint - static_cast<std::size_t>(n),
                                          "%s %s %s", i > 0 ? "," : "", key, what)
                          : std::snprintf(hint + n, sizeof hint - static_cast<std::size_t>(n),
                                          "%s %s", i > 0 ? "" : ":", key);
        }
        if (n <= room)
            return;
    }
    hint[std::clamp(room, 0, static_cast<int>(sizeof hint) - 1)] = '\0';
}

void printKeys(std::FILE* out)
{
    for (const Table& table : tables) {
        std::fprintf(out, "Keys of --step %s:\n", table.title);
        for (const Said& said : table.said) {
            char keys[64] = {};
            int n = 0;
            for (const Binding& key : table.keys) {
                const char* name = key.action == said.action ? nameOf(key) : nullptr;
                if (name != nullptr)
                    n += std::snprintf(keys + n, sizeof keys - static_cast<std::size_t>(n), "%s%s",
                                       n > 0 ? ", " : "", name);
            }
            std::fprintf(out, "  %-20s %s\n", n > 0 ? keys : "any other key", said.help);
        }
    }
}
