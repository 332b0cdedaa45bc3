#include "draw.h"

#include "console.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A drawing is worked out before any of it is printed, as git's graph.c
// does: which pointers stand where (Scene), which nodes the row shows
// (Piece), where each label goes (Label); then each kind of line is written
// by a function of its own, into the drawing's text (Drawing).

namespace {

constexpr int indent = 2;        // the rows stand under the caption
constexpr int widest = 256;      // a wider terminal still gets this much
constexpr int most = widest / 3; // pieces in a row: a node takes 3 columns at least
constexpr int mostPointers = 8;
constexpr int mostPieces = most + 4 * mostPointers;
constexpr int labelLines = 4; // a long label breaks after a comma

// A run of names at one node, "head,cursor", broken into lines that fit.
struct Label {
    char text[64] = {};
    int length = 0;
    int breaks[labelLines] = {}; // where each line starts in text
    int lines = 0;
    int wide = 0;  // the longest line
    int at = 0;    // the column of what they point at
    int start = 0; // the column the text starts at
    int row = 0;   // its last line's row; 0 is the row above the arrows
};

// The pointers of one drawing, sorted by where they stand.
struct Scene {
    const void* anchors[mostPointers] = {}; // the named nodes on the list, in list order
    Label labels[mostPointers];             // the names at each anchor
    int anchorCount = 0;
    Label atNull;                    // the names of the null pointers
    const void* aside = nullptr;     // a node off the list, if any
    const char* asideWord = nullptr; // how it stands: made, unlinked or released
    Label asideNames;                // the names holding it
};

// One piece of the row of nodes: a node, "..." for nodes left out, or NULL.
struct Piece {
    const void* node = nullptr; // nullptr for "..." and NULL
    char text[16] = {};
    int length = 0;
    int column = 0; // where its text starts
    int line = 0;   // which line of the row it stands on
};

// The pieces of the row, in order; the last is NULL.
struct Pieces {
    Piece piece[mostPieces];
    int count = 0;
    int lines = 1;
};

// The text of one drawing, line by line.
struct Drawing {
    char text[16384];
    int length = 0;
};

// One line being put together, written without trailing blanks.
struct Line {
    char text[widest];
    int end = 0;
};

void clear(Line& line)
{
    std::memset(line.text, ' ', sizeof line.text);
    line.end = 0;
}

void put(Line& line, int column, const char* text, int length)
{
    for (int i = 0; i < length && column + i < widest; ++i)
        line.text[column + i] = text[i];
    line.end = std::max(line.end, std::min(column + length, widest));
}

void put(Line& line, int column, const char* text)
{
    put(line, column, text, static_cast<int>(std::strlen(text)));
}

void append(Drawing& out, const char* text, int length)
{
    length = std::min(length, static_cast<int>(sizeof out.text) - out.length);
    std::memcpy(out.text + out.length, text, static_cast<std::size_t>(length));
    out.length += length;
}

// Writes the line, never past the width, and clears it for the next.
void emit(Drawing& out, Line& line, int width)
{
    int end = std::min(line.end, width);
    while (end > 0 && line.text[end - 1] == ' ')
        --end;
    append(out, line.text, end);
    append(out, "\n", 1);
    clear(line);
}

// Whether a line may break before p[cut]: at a space, but not one beside
// " = ", so that an assignment stays whole; and in a line beside the list,
// after a comma or an arrow.
bool breaksAt(const char* p, int cut, bool breakAfterArrows)
{
    if (p[cut] == ' ')
        return p[cut - 1] != '=' && p[cut + 1] != '=';
    return breakAfterArrows &&
           (p[cut - 1] == ',' || (cut > 1 && p[cut - 2] == '-' && p[cut - 1] == '>'));
}

// Breaks text into lines of at most room characters, each written after
// first (the first line) or rest: after a space (which is dropped), after
// a comma or "->" where breakAfterArrows allows those too, else wherever
// it must.
void emitWrapped(Drawing& out, const char* text, int width, const char* first, const char* rest,
                 bool breakAfterArrows)
{
    Line line;
    clear(line);
    const char* prefix = first;
    const char* p = text;
    do {
        const int room = std::max(width - static_cast<int>(std::strlen(prefix)), 1);
        int n = static_cast<int>(std::strlen(p));
        if (n > room) {
            int cut = room;
            while (cut > 0 && !breaksAt(p, cut, breakAfterArrows))
                --cut;
            if (cut == 0) { // an assignment longer than the line breaks too
                cut = room;
                while (cut > 0 && p[cut] != ' ')
                    --cut;
            }
            n = cut > 0 ? cut : room;
        }
        put(line, 0, prefix);
        put(line, static_cast<int>(std::strlen(prefix)), p, n);
        emit(out, line, width);
        prefix = rest;
        p += n;
        while (*p == ' ')
            ++p;
    } while (*p != '\0');
}

void addName(Label& label, const char* name)
{
    if (name == nullptr)
        return;
    int n = std::snprintf(label.text + label.length,
                          sizeof label.text - static_cast<unsigned>(label.length), "%s%s",
                          label.length > 0 ? "," : "", name);
    label.length = std::min(label.length + std::max(n, 0), static_cast<int>(sizeof label.text) - 1);
}

// Breaks the label after commas into lines of at most room characters, as
// far as its names allow: a name is never cut.
void breakLabel(Label& label, int room)
{
    label.lines = 0;
    label.wide = 0;
    int start = 0;
    while (start < label.length) {
        int end = label.length;
        if (end - start > room && label.lines + 1 < labelLines) {
            end = start + room;
            while (end > start && label.text[end - 1] != ',')
                --end;
            while (end == start || (end < label.length && label.text[end - 1] != ','))
                ++end; // the first name is longer than room: it goes whole
        }
        label.breaks[label.lines++] = start;
        label.wide = std::max(label.wide, end - start);
        start = end;
    }
}

int lineLength(const Label& label, int line)
{
    int end = line + 1 < label.lines ? label.breaks[line + 1] : label.length;
    return end - label.breaks[line];
}

} // namespace

int drawingWidth()
{
    static int columns = -1; // COLUMNS, read once; 0 when it is no number
    if (columns < 0) {
        columns = 0;
        const char* value = std::getenv("COLUMNS");
        if (value != nullptr) {
            char* end = nullptr;
            long number = std::strtol(value, &end, 10);
            if (end != value && *end == '\0' && number > 0 && number <= 10000)
                columns = static_cast<int>(number);
        }
    }
    int width = columns > 0 ? columns : terminalColumns();
    return std::min(width > 0 ? width : 80, widest);
}

namespace {

// Puts the last anchor before the anchor that follows it: while a node is
// appended, the tail is not yet the last node.
void orderLast(const NodeReading& reading, Scene& scene)
{
    const int last = scene.anchorCount - 1;
    const void* after = last > 0 ? reading.next(scene.anchors[last]) : nullptr;
    for (int j = 0; after != nullptr && j < last; ++j) {
        if (scene.anchors[j] == after) {
            const void* anchor = scene.anchors[last];
            Label label = scene.labels[last];
            for (int i = last; i > j; --i) {
                scene.anchors[i] = scene.anchors[i - 1];
                scene.labels[i] = scene.labels[i - 1];
            }
            scene.anchors[j] = anchor;
            scene.labels[j] = label;
            return;
        }
    }
}

// Sorts the pointers: the nodes on the list they stand at (the anchors, in
// list order), NULL, and the node off the list, which also takes the names
// left on it.
Scene sortPointers(const NodeReading& reading, const Pointer& head,
                   std::initializer_list<Pointer> pointers, const Pointer& last)
{
    Pointer all[mostPointers] = {head};
    int count = 1;
    for (const Pointer& pointer : pointers)
        if (count < mostPointers - 1)
            all[count++] = pointer;
    all[count++] = last;
    Scene scene;
    for (int i = 0; i < count; ++i) {
        if (all[i].offList != nullptr) {
            scene.aside = all[i].node;
            scene.asideWord = all[i].offList;
            addName(scene.asideNames, all[i].name);
        }
    }
    for (int i = 0; i < count; ++i) {
        const Pointer& pointer = all[i];
        if (pointer.offList != nullptr)
            continue;
        if (pointer.node == nullptr) {
            addName(scene.atNull, pointer.name);
        } else if (pointer.node == scene.aside) {
            addName(scene.asideNames, pointer.name);
        } else if (all[0].node != nullptr) {
            const void** end = scene.anchors + scene.anchorCount;
            const void** same = std::find(scene.anchors, end, pointer.node);
            if (same == end)
                scene.anchors[scene.anchorCount++] = pointer.node;
            addName(scene.labels[same - scene.anchors], pointer.name);
        }
    }
    orderLast(reading, scene);
    return scene;
}

const Piece& addPiece(Pieces& pieces, const NodeReading& reading, const void* node)
{
    Piece& piece = pieces.piece[pieces.count++];
    piece.node = node;
    piece.length = reading.text(node, piece.text);
    return piece;
}

void addMark(Pieces& pieces, const char* text)
{
    Piece& piece = pieces.piece[pieces.count++];
    piece.node = nullptr;
    piece.length = std::snprintf(piece.text, sizeof piece.text, "%s", text);
}

int cost(const NodeReading& reading, const void* node)
{
    char text[16];
    return reading.text(node, text) + 4; // "[" text "]->"
}

// The stretch of the list after an anchor: the node after it (always
// shown: a link just made is two adjacent boxes), then the nodes up to the
// next anchor (until), shown while they fit in room, else "..." for two or
// more of them. A gap of one node is always shown.
struct Gap {
    const void* after; // the node after the anchor, or nullptr when it is until
    const void* from;  // the first node of the gap, or until when there is none
    bool one;          // the gap is exactly one node
};

Gap gapAfter(const NodeReading& reading, const void* anchor, const void* until)
{
    Gap gap{reading.next(anchor), nullptr, false};
    if (gap.after == until || gap.after == nullptr) {
        gap.after = nullptr;
        gap.from = until;
        return gap;
    }
    gap.from = reading.next(gap.after);
    gap.one = gap.from != until && gap.from != nullptr && reading.next(gap.from) == until;
    return gap;
}

// Which nodes the row shows: the anchors, the node after each, NULL, and a
// single node or "..." for each gap must be there; the other nodes of the
// gaps are walked, in order, only while the first line has room for them.
Pieces chooseNodes(const NodeReading& reading, const Scene& scene, int width)
{
    const int mark = 5; // "...->"
    int room = width - indent - 4;
    for (int i = 0; i < scene.anchorCount; ++i) {
        const void* until = i + 1 < scene.anchorCount ? scene.anchors[i + 1] : nullptr;
        Gap gap = gapAfter(reading, scene.anchors[i], until);
        room -= cost(reading, scene.anchors[i]);
        if (gap.after != nullptr)
            room -= cost(reading, gap.after);
        if (gap.one)
            room -= cost(reading, gap.from);
        else if (gap.from != until)
            room -= mark;
    }
    Pieces pieces;
    for (int i = 0; i < scene.anchorCount; ++i) {
        const void* until = i + 1 < scene.anchorCount ? scene.anchors[i + 1] : nullptr;
        Gap gap = gapAfter(reading, scene.anchors[i], until);
        addPiece(pieces, reading, scene.anchors[i]);
        if (gap.after != nullptr)
            addPiece(pieces, reading, gap.after);
        const void* node = gap.from;
        if (gap.one) {
            addPiece(pieces, reading, node);
            continue;
        }
        // Take a node while it fits; when it leaves one behind, that one
        // must fit too, as "..." stands for two nodes or more.
        while (node != until && node != nullptr && pieces.count < most) {
            const void* next = reading.next(node);
            const bool oneLeft = next != until && next != nullptr && reading.next(next) == until;
            int need = cost(reading, node) + (oneLeft ? cost(reading, next) : 0);
            if (need > room + (next == until || oneLeft ? mark : 0))
                break;
            room -= need;
            addPiece(pieces, reading, node);
            if (oneLeft)
                addPiece(pieces, reading, next);
            node = oneLeft ? until : next;
            if (node == until)
                room += mark;
        }
        if (node != until)
            addMark(pieces, "...");
    }
    addMark(pieces, "NULL");
    return pieces;
}

// Where each piece stands: [a]->[b]->...->NULL, going on in the next line
// where the width ends (a piece and the arrow after it must fit).
void layOutRow(Pieces& pieces, int width)
{
    int column = indent;
    int line = 0;
    for (int i = 0; i < pieces.count; ++i) {
        Piece& piece = pieces.piece[i];
        const bool boxed = piece.node != nullptr;
        const int size = piece.length + (boxed ? 2 : 0) + (i + 1 < pieces.count ? 2 : 0);
        if (column > indent && column + size > width) {
            ++line;
            column = indent;
        }
        piece.line = line;
        piece.column = column + (boxed ? 1 : 0);
        column += size;
    }
    pieces.lines = line + 1;
}

void writeRow(const Pieces& pieces, int line, Line& row)
{
    for (int i = 0; i < pieces.count; ++i) {
        const Piece& piece = pieces.piece[i];
        if (piece.line != line)
            continue;
        const bool boxed = piece.node != nullptr;
        if (boxed)
            put(row, piece.column - 1, "[");
        put(row, piece.column, piece.text, piece.length);
        int end = piece.column + piece.length;
        if (boxed)
            put(row, end++, "]");
        if (i + 1 < pieces.count)
            put(row, end, "->");
    }
}

const Piece& pieceOf(const Pieces& pieces, const void* node)
{
    for (int i = 0; node != nullptr && i < pieces.count; ++i)
        if (pieces.piece[i].node == node)
            return pieces.piece[i];
    return pieces.piece[pieces.count - 1]; // NULL
}

// Whether label, at its row, meets other, a label to its right: their
// texts closer than two columns (names one space apart read as one
// phrase), or label's text over other's bar, which runs from below other's
// last line down to the arrows.
bool meets(const Label& label, const Label& other)
{
    const int top = label.row + label.lines - 1;
    const int otherTop = other.row + other.lines - 1;
    if (label.row <= otherTop && other.row <= top && label.start < other.start + other.wide + 2 &&
        other.start < label.start + label.wide + 2)
        return true;
    return label.row < other.row && label.start <= other.at && other.at < label.start + label.wide;
}

// Places the labels, rightmost first, each on the lowest row where it meets
// none placed before it: above them all at the latest. A label that the
// right edge pushes left over the bar of the label before it breaks after a
// comma to stand clear of that bar; where its names are too long for that,
// the bar is hidden under it. Returns the rows taken.
int placeLabels(Label* labels, int count, int width)
{
    int rows = 0;
    for (int i = count - 1; i >= 0; --i) {
        Label& label = labels[i];
        breakLabel(label, std::max(width - 1, 1));
        label.start = std::max(0, std::min(label.at, width - label.wide));
        if (i > 0 && label.start <= labels[i - 1].at) {
            breakLabel(label, width - labels[i - 1].at - 2);
            label.start = std::max(0, std::min(label.at, width - label.wide));
        }
        for (label.row = 0;; ++label.row) {
            bool clear = true;
            for (int j = i + 1; j < count && clear; ++j)
                clear = !meets(label, labels[j]);
            if (clear)
                break;
        }
        rows = std::max(rows, label.row + label.lines);
    }
    return rows;
}

// The label rows, top down: each label's lines with a bar under them down
// to the row of arrows, "v".
void emitLabels(Drawing& out, Label* labels, int count, int width)
{
    Line line;
    clear(line);
    for (int r = placeLabels(labels, count, width) - 1; r >= 0; --r) {
        for (int i = 0; i < count; ++i) {
            const Label& label = labels[i];
            const int fromTop = label.row + label.lines - 1 - r;
            if (r >= label.row && fromTop >= 0)
                put(line, label.start, label.text + label.breaks[fromTop],
                    lineLength(label, fromTop));
            else if (r < label.row)
                put(line, label.at, "|");
        }
        emit(out, line, width);
    }
    for (int i = 0; i < count; ++i)
        put(line, labels[i].at, "v");
    if (count > 0)
        emit(out, line, width);
}

// Each line of the row with the labels of its own nodes over it.
void emitRow(Drawing& out, const Scene& scene, const Pieces& pieces, int width)
{
    Line row;
    clear(row);
    for (int line = 0; line < pieces.lines; ++line) {
        Label labels[mostPointers + 1];
        int count = 0;
        for (int i = 0; i <= scene.anchorCount; ++i) {
            const bool anchor = i < scene.anchorCount;
            const Piece& piece = pieceOf(pieces, anchor ? scene.anchors[i] : nullptr);
            const Label& label = anchor ? scene.labels[i] : scene.atNull;
            if (label.length > 0 && piece.line == line) {
                labels[count] = label;
                labels[count++].at = piece.column;
            }
        }
        emitLabels(out, labels, count, width);
        writeRow(pieces, line, row);
        emit(out, row, width);
    }
}

// The node off the list, on a line of its own below it, with its next
// (a released node's is not read again): "node -> [7]->[3]",
// "found -> [10]->[4] unlinked", "found (dangling) -> [10] released".
void emitAside(Drawing& out, const NodeReading& reading, const Scene& scene, int width)
{
    if (scene.aside == nullptr)
        return;
    char text[16];
    int length = reading.text(scene.aside, text);
    const bool gone = std::strcmp(scene.asideWord, released) == 0;
    char next[24] = "";
    const void* after = gone ? nullptr : reading.next(scene.aside);
    if (after != nullptr) {
        char value[16];
        int n = reading.text(after, value);
        std::snprintf(next, sizeof next, "->[%.*s]", n, value);
    } else if (!gone) {
        std::snprintf(next, sizeof next, "->NULL");
    }
    char line[160];
    std::snprintf(line, sizeof line, "%.*s%s -> [%.*s]%s%s%s", scene.asideNames.length,
                  scene.asideNames.text, gone ? " (dangling)" : "", length, text, next,
                  *scene.asideWord != '\0' ? " " : "", scene.asideWord);
    emitWrapped(out, line, width, "  ", "    ", true);
}

Drawing drawingText;

} // namespace

void drawList(const NodeReading& reading, const Pointer& head,
              std::initializer_list<Pointer> pointers, const Pointer& last, const char* format,
              std::va_list args)
{
    const int width = drawingWidth();
    Drawing& out = drawingText;
    out.length = 0;
    char caption[256];
    std::vsnprintf(caption, sizeof caption, format, args);
    emitWrapped(out, caption, width, "-- ", "   ", false);
    const Scene scene = sortPointers(reading, head, pointers, last);
    Pieces pieces = chooseNodes(reading, scene, width);
    layOutRow(pieces, width);
    emitRow(out, scene, pieces, width);
    emitAside(out, reading, scene, width);
    showDrawing(out.text, out.length);
}

void drawKeyWait(bool lineOpen)
{
    if (!drawing || !keyWaits())
        return;
    Drawing& out = drawingText;
    out.length = 0;
    if (lineOpen)
        append(out, "\n", 1);
    emitWrapped(out, "the program now waits for a key press (_getch)", drawingWidth(), "-- ", "   ",
                false);
    std::fwrite(out.text, 1, static_cast<std::size_t>(out.length), stdout);
    flushOutput();
}
