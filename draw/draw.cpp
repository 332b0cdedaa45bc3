#include "draw.h"

#include "console.h"
#include "scene.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A drawing is read from the list first (readScene: which nodes, their
// values and names, what was just linked), then laid out at a width, as
// git's graph.c works out its state before it writes: which pieces the row
// shows (Row), where each label goes (Label); then each kind of line is
// written by a function of its own, into the drawing's text (Drawing).

namespace {

constexpr int indent = 2;     // the rows stand under the caption
constexpr int labelLines = 4; // a long label breaks after a comma
constexpr int mostPieces = mostCells + 1;

// ---- Reading the list --------------------------------------------------

void addName(Names& names, const char* name)
{
    const int room = static_cast<int>(sizeof names.text) - 1;
    if (names.length > 0 && names.length < room)
        names.text[names.length++] = ',';
    for (; *name != '\0' && names.length < room; ++name)
        names.text[names.length++] = *name;
    names.text[names.length] = '\0';
}

// Adds name to the names at index (a new run when index is -1).
void nameAt(Scene& scene, int& index, const char* name)
{
    if (name == nullptr)
        return;
    if (index < 0)
        index = scene.nameCount++;
    addName(scene.names[index], name);
}

// The node whose link the caption's code sets, "p->next = ...": p's.
const void* linkSet(const char* caption, const Pointer* all, int count)
{
    const char* link = std::strstr(caption, "->next = ");
    const char* comment = std::strstr(caption, "//");
    if (link == nullptr || (comment != nullptr && comment < link))
        return nullptr;
    const char* start = link;
    while (start > caption &&
           (std::isalnum(static_cast<unsigned char>(start[-1])) != 0 || start[-1] == '_'))
        --start;
    const auto length = static_cast<std::size_t>(link - start);
    for (int i = 0; i < count; ++i)
        if (all[i].name != nullptr && std::strlen(all[i].name) == length &&
            std::strncmp(all[i].name, start, length) == 0)
            return all[i].node;
    return nullptr;
}

int boxCost(const Cell& cell) { return cell.value.length + 4; } // "[" text "]->"

// What reading the list keeps besides the scene: the node of each cell.
struct Reader {
    const NodeReading& reading;
    Scene& scene;
    const void* nodes[mostCells] = {};
    const void* marked = nullptr; // the node whose next was just set
    const void* target = nullptr; // where the node beside the list points
    int room = 0;                 // columns the gaps may still read nodes for
};

void addCell(Reader& r, const void* node, bool kept, int names)
{
    Cell& cell = r.scene.cells[r.scene.cellCount];
    r.nodes[r.scene.cellCount++] = node;
    cell = Cell{};
    cell.value.length = r.reading.text(node, cell.value.text);
    cell.kept = kept || node == r.target;
    cell.names = names;
    cell.marked = node == r.marked;
}

// The nodes after a named one, up to the next (until): the first always,
// then as many as a line of the width has room for (and the last two:
// a count is never of one node, and a walk's next step shows the last
// alone), then a count of the rest, which stops at countBound. Cells are left for the named nodes
// still to come.
void readGap(Reader& r, const void* anchor, const void* until, int anchorsLeft)
{
    const void* node = r.reading.next(anchor);
    if (node == until || node == nullptr)
        return;
    addCell(r, node, true, -1);
    node = r.reading.next(node);
    while (node != until && node != nullptr &&
           r.scene.cellCount < mostCells - 2 * anchorsLeft - 1) {
        const bool lastTwo = r.reading.span(node, until, 3) <= 2;
        if (r.room < 0 && !lastTwo && node != r.target)
            break;
        addCell(r, node, false, -1);
        r.room -= boxCost(r.scene.cells[r.scene.cellCount - 1]);
        node = r.reading.next(node);
    }
    const int count = r.reading.span(node, until, countBound + 1);
    Cell& last = r.scene.cells[r.scene.cellCount - 1];
    last.unread = std::min(count, countBound);
    last.unreadMore = count > countBound;
}

// Puts the last anchor before the anchor that follows it: while a node is
// appended, the tail is not yet the last node.
void orderLast(const NodeReading& reading, const void** anchors, int* names, int count)
{
    const int last = count - 1;
    const void* after = last > 0 ? reading.next(anchors[last]) : nullptr;
    for (int j = 0; after != nullptr && j < last; ++j) {
        if (anchors[j] == after) {
            std::rotate(anchors + j, anchors + last, anchors + count);
            std::rotate(names + j, names + last, names + count);
            return;
        }
    }
}

// The named nodes on the list, in list order, with their names.
struct Anchors {
    const void* nodes[mostPointers] = {};
    int names[mostPointers] = {};
    int count = 0;
};

// Names every pointer where it points: a node on the list (an anchor), the
// node beside it, or NULL.
void nameAll(Scene& scene, const Pointer* all, int count, const void* aside, Anchors& on)
{
    for (int i = 0; i < count; ++i) {
        const Pointer& pointer = all[i];
        if (pointer.node == nullptr) {
            nameAt(scene, scene.nullNames, pointer.name);
        } else if (pointer.node == aside) {
            nameAt(scene, scene.asideNames, pointer.name);
        } else if (all[0].node != nullptr) {
            const void** end = on.nodes + on.count;
            const void** same = std::find(on.nodes, end, pointer.node);
            if (same == end) {
                on.names[on.count] = -1;
                on.nodes[on.count++] = pointer.node;
            }
            nameAt(scene, on.names[same - on.nodes], pointer.name);
        }
    }
}

void readScene(const NodeReading& reading, const Pointer& head,
               std::initializer_list<Pointer> pointers, const Pointer& last, int width,
               Scene& scene)
{
    Pointer all[mostPointers] = {head};
    int count = 1;
    for (const Pointer& pointer : pointers)
        if (count < mostPointers - 1)
            all[count++] = pointer;
    all[count++] = last;
    const void* aside = nullptr;
    for (int i = 0; i < count; ++i) {
        if (all[i].offList != nullptr) {
            aside = all[i].node;
            scene.asideWord = all[i].offList;
        }
    }
    Anchors on;
    nameAll(scene, all, count, aside, on);
    orderLast(reading, on.nodes, on.names, on.count);
    const void* const* anchors = on.nodes;
    const int* anchorNames = on.names;
    const int anchorCount = on.count;

    Reader r{reading, scene};
    r.marked = linkSet(scene.caption, all, count);
    r.room = width - indent;
    const bool gone = aside != nullptr && std::strcmp(scene.asideWord, released) == 0;
    r.target = aside != nullptr && !gone ? reading.next(aside) : nullptr;
    for (int i = 0; i < anchorCount; ++i) {
        addCell(r, anchors[i], true, anchorNames[i]);
        readGap(r, anchors[i], i + 1 < anchorCount ? anchors[i + 1] : nullptr, anchorCount - i - 1);
    }
    if (aside == nullptr)
        return;
    scene.asideValue.length = reading.text(aside, scene.asideValue.text);
    scene.asideMarked = aside == r.marked || scene.asideWord == made;
    const void** end = r.nodes + scene.cellCount;
    scene.asideTarget = static_cast<int>(std::find(r.nodes, end, r.target) - r.nodes);
    scene.aside = gone                                  ? Aside::gone
                  : r.target == nullptr                 ? Aside::toNull
                  : scene.asideTarget < scene.cellCount ? Aside::toCell
                                                        : Aside::notRead;
}

// ---- Writing lines -----------------------------------------------------

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
        if (column + i >= 0)
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

// Whether a line may break before p[cut]: at a space, but not the one a
// drawn space stands for (' '); where commas allows it (names, a node
// beside the list), after a comma too, and before the arrow after a box.
bool breaksAt(const char* p, int cut, bool commas)
{
    if (p[cut] == ' ')
        return p[cut - 1] != '\'' || p[cut + 1] != '\'';
    const bool arrow = p[cut - 1] == ']' && (p[cut] == '-' || p[cut] == '=');
    return commas && (p[cut - 1] == ',' || arrow);
}

// Breaks text into lines, each written after first (the first line) or
// rest: at a space (which is dropped), or after a comma where commas
// allows it; a word longer than a whole line is cut where it must be.
void emitWrapped(Drawing& out, const char* text, int width, const char* first, const char* rest,
                 bool commas)
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
            while (cut > 0 && !breaksAt(p, cut, commas))
                --cut;
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

// ---- The row -----------------------------------------------------------

// One piece of the row: a node, "...N" for nodes left out, or NULL.
// Left uninitialised in bulk (a row has room for many); addPiece sets
// every field of the pieces used.
struct Piece {
    const char* text;
    int length;
    char count[12]; // the text of "...N"
    bool boxed;     // a node, drawn [text]
    int names;      // its names in the scene, -1 for none
    int cell;       // its cell; -1 for "...N" and NULL
    bool marked;    // the arrow after it is "=>"
    int stretch;    // columns the arrow after it is drawn longer
    int column;     // where its text starts
    int line;       // which line of the row it stands on
};

// The pieces of the row, in order; the last is NULL.
struct Row {
    Piece piece[mostPieces]; // NOLINT(cppcoreguidelines-pro-type-member-init): see Piece
    int count = 0;
    int lines = 1;
    int reserve = 0; // columns a walk's next step may need on the right
};

// The optional cells between two kept ones, and the nodes after them that
// were not read: how many of the cells the row shows, and the count.
struct Gap {
    int first = 0;  // its first optional cell
    int cells = 0;  // how many optional cells it has
    int unread = 0; // nodes not read after them
    bool more = false;
    int shown = 0;
};

constexpr int digits(int n) { return n >= 1000 ? 4 : n >= 100 ? 3 : n >= 10 ? 2 : 1; }

constexpr int widestMark = 6 + digits(countBound); // "...100+->"

// The columns of a count of the nodes left out, with its arrow: "...12->"
// or "...100+->"; none when no node is.
int markCost(const Gap& gap, int shown)
{
    const int left = gap.cells - shown + gap.unread;
    return gap.more ? widestMark : left > 0 ? 5 + digits(left) : 0;
}

// A gap shows all its nodes, or leaves out two or more: "...1" would
// hide a node that takes no more room than its count.
bool valid(const Gap& gap, int j) { return gap.cells - j + gap.unread != 1 || gap.more; }

// Which cells the row shows: the kept ones always; then the gaps, left to
// right, each as many of its cells as the first line still has room for,
// so that the nodes left of a walking pointer stay where they were.
int chooseCells(const Scene& scene, int width, Gap* gaps)
{
    int count = 0;
    int used = indent + 4; // NULL
    for (int i = 0; i < scene.cellCount;) {
        const Cell& cell = scene.cells[i];
        used += boxCost(cell);
        Gap gap{++i, 0, cell.unread, cell.unreadMore};
        for (; i < scene.cellCount && !scene.cells[i].kept; ++i) {
            ++gap.cells;
            gap.unread += scene.cells[i].unread;
            gap.more = gap.more || scene.cells[i].unreadMore;
        }
        if (gap.cells + gap.unread == 0)
            continue;
        gap.shown = valid(gap, 0) ? 0 : 1;
        used += markCost(gap, gap.shown) + (gap.shown > 0 ? boxCost(scene.cells[gap.first]) : 0);
        gaps[count++] = gap;
    }
    int room = width - used;
    for (int g = 0; g < count && room > 0; ++g) {
        Gap& gap = gaps[g];
        const int least = gap.shown;
        const int base = markCost(gap, least);
        int cells = 0; // the columns of the cells shown beyond the least
        int taken = 0;
        for (int j = least + 1; j <= gap.cells; ++j) {
            cells += boxCost(scene.cells[gap.first + j - 1]);
            if (cells > room + widestMark)
                break; // no count is wider: no more can fit
            const int more = cells + markCost(gap, j) - base;
            if (valid(gap, j) && more <= room) {
                gap.shown = j;
                taken = more;
            }
        }
        room -= taken;
    }
    return count;
}

Piece& addPiece(Row& row, const char* text, int length)
{
    Piece& piece = row.piece[row.count++];
    piece = Piece{text, length, {}, false, -1, -1, false, 0, 0, 0};
    return piece;
}

void addCellPiece(Row& row, const Scene& scene, int index)
{
    const Cell& cell = scene.cells[index];
    Piece& piece = addPiece(row, cell.value.text, cell.value.length);
    piece.boxed = true;
    piece.names = cell.names;
    piece.cell = index;
    piece.marked = cell.marked;
}

// The columns to keep free at the right of a one-line row, so that what
// stands right of its first count stays put while a walk moves on. A count
// further right shrinks down to the last node shown alone, whose box may
// be wider than "...2" (as wide as the box before the gap, where the last
// is not read); the nodes just right of the first count move on to nodes
// that may be wider (9 to 10): as wide as the widest read after them.
int reserveFor(const Scene& scene, const Gap* gaps, int gapCount)
{
    int reserve = 0;
    int after = -1; // the first cell right of the first gap
    for (int g = 0; g < gapCount; ++g) {
        const Gap& gap = gaps[g];
        if (gap.cells + gap.unread == 0 || (after >= 0 && gap.cells - gap.shown + gap.unread == 0))
            continue;
        const int last = gap.unread == 0 ? gap.first + gap.cells - 1 : gap.first - 1;
        if (after >= 0)
            reserve += std::max(0, boxCost(scene.cells[last]) - markCost(gap, gap.shown));
        else
            after = gap.first + gap.cells;
    }
    if (after < 0)
        return 0;
    int widest = 0;
    for (int i = after; i < scene.cellCount; ++i)
        widest = std::max(widest, boxCost(scene.cells[i]));
    for (int i = after; i < scene.cellCount; ++i) {
        reserve += widest - boxCost(scene.cells[i]);
        if (scene.cells[i].unread > 0 || (i + 1 < scene.cellCount && !scene.cells[i + 1].kept))
            break; // the nodes that walk end where the next gap begins
    }
    return reserve;
}

// Whether the whole list was read and its row fits the width as it is: it
// is then drawn whole, with nothing kept in reserve.
bool fitsWhole(const Scene& scene, int width)
{
    int used = indent + 4; // NULL
    for (int i = 0; i < scene.cellCount; ++i) {
        if (scene.cells[i].unread > 0)
            return false;
        used += boxCost(scene.cells[i]);
    }
    return used <= width;
}

Row choosePieces(const Scene& scene, int width)
{
    Gap gaps[mostCells];
    int gapCount = chooseCells(scene, width, gaps);
    Row row;
    if (fitsWhole(scene, width)) {
        for (int g = 0; g < gapCount; ++g)
            gaps[g].shown = gaps[g].cells;
    } else {
        row.reserve = reserveFor(scene, gaps, gapCount);
        if (row.reserve > 0)
            gapCount = chooseCells(scene, width - row.reserve, gaps);
    }
    int g = 0;
    for (int i = 0; i < scene.cellCount; ++i) {
        if (!scene.cells[i].kept)
            continue;
        addCellPiece(row, scene, i);
        if (g < gapCount && gaps[g].first == i + 1) {
            const Gap& gap = gaps[g++];
            for (int j = 0; j < gap.shown; ++j)
                addCellPiece(row, scene, gap.first + j);
            const int left = gap.cells - gap.shown + gap.unread;
            if (left > 0) {
                Piece& mark = addPiece(row, nullptr, 0);
                mark.length =
                    gap.more ? std::snprintf(mark.count, sizeof mark.count, "...%d+", countBound)
                             : std::snprintf(mark.count, sizeof mark.count, "...%d", left);
                mark.text = mark.count;
            }
        }
    }
    Piece& null = addPiece(row, "NULL", 4);
    null.names = scene.nullNames;
    return row;
}

int longestName(const Names& names)
{
    int longest = 0;
    for (int start = 0, i = 0; i <= names.length; ++i) {
        if (i == names.length || names.text[i] == ',') {
            longest = std::max(longest, i - start);
            start = i + 1;
        }
    }
    return longest;
}

int nameRoom(const Scene& scene, const Piece& piece)
{
    return piece.names >= 0 ? longestName(scene.names[piece.names]) : 0;
}

// Where each piece stands: [a]->[b]->...->NULL, going on in the next line
// where a piece and the arrow after it would pass the width, or its names
// would not fit from its bar.
void breakRow(const Scene& scene, Row& row, int width)
{
    int column = indent;
    int line = 0;
    for (int i = 0; i < row.count; ++i) {
        Piece& piece = row.piece[i];
        const int box = piece.boxed ? 1 : 0;
        const int size = piece.length + 2 * box + (i + 1 < row.count ? 2 + piece.stretch : 0);
        // A piece goes on in the next line with NULL when NULL would not
        // fit after it: NULL never stands alone, apart from its box.
        const int withNull =
            i + 2 == row.count ? std::max(4, nameRoom(scene, row.piece[i + 1])) : 0;
        if (column > indent &&
            (column + size + withNull > width || column + box + nameRoom(scene, piece) > width)) {
            ++line;
            column = indent;
        }
        piece.line = line;
        piece.column = column + box;
        column += size;
    }
    row.lines = line + 1;
}

// On a row of one line, each "...N" but the last is as wide as the widest
// count, and the last takes the columns left over as a longer arrow: what
// stands right of the first keeps its column as a walk moves on and the
// counts change, and what stands right of the last stays at the right
// edge, however the pieces left of it change.
void stretchRow(const Scene& scene, Row& row, int width)
{
    if (row.lines != 1)
        return;
    int marks[mostPieces];
    int count = 0;
    for (int i = 0; i + 1 < row.count; ++i)
        if (!row.piece[i].boxed)
            marks[count++] = i;
    if (count == 0)
        return;
    const Piece& null = row.piece[row.count - 1];
    int slack = width - (null.column + null.length);
    for (int i = marks[0] + 1; i < row.count; ++i)
        slack = std::min(slack, width - row.piece[i].column - nameRoom(scene, row.piece[i]));
    slack = std::max(slack, 0);
    for (int m = 0; m + 1 < count; ++m) {
        Piece& mark = row.piece[marks[m]];
        mark.stretch = std::min(std::max(widestMark - mark.length - 2, 0), slack);
        slack -= mark.stretch;
    }
    row.piece[marks[count - 1]].stretch = slack;
    breakRow(scene, row, width);
}

void writeRow(const Row& row, int line, Line& out)
{
    for (int i = 0; i < row.count; ++i) {
        const Piece& piece = row.piece[i];
        if (piece.line != line)
            continue;
        if (piece.boxed)
            put(out, piece.column - 1, "[");
        put(out, piece.column, piece.text, piece.length);
        int end = piece.column + piece.length;
        if (piece.boxed)
            put(out, end++, "]");
        if (i + 1 < row.count) {
            for (int s = 0; s < piece.stretch; ++s)
                put(out, end++, "-");
            put(out, end, piece.marked ? "=>" : "->");
        }
    }
}

// ---- Labels ------------------------------------------------------------

// A run of names over one node's bar, broken into lines that fit.
struct Label {
    const Names* names = nullptr;
    int breaks[labelLines] = {}; // where each line starts in the text
    int lines = 0;
    int wide = 0; // the longest line
    int at = 0;   // the column of its bar, where every line starts
    int row = 0;  // its last line's row; 0 is the row above the arrows
};

// Breaks the label after commas into lines of at most room characters, as
// far as its names allow: a name is never cut.
void breakLabel(Label& label, int room)
{
    const char* text = label.names->text;
    const int length = label.names->length;
    label.lines = 0;
    label.wide = 0;
    int start = 0;
    while (start < length) {
        int end = length;
        if (end - start > room && label.lines + 1 < labelLines) {
            end = start + room;
            while (end > start && text[end - 1] != ',')
                --end;
            while (end == start || (end < length && text[end - 1] != ','))
                ++end; // the first name is longer than room: it goes whole
        }
        label.breaks[label.lines++] = start;
        label.wide = std::max(label.wide, end - start);
        start = end;
    }
}

int lineLength(const Label& label, int line)
{
    int end = line + 1 < label.lines ? label.breaks[line + 1] : label.names->length;
    return end - label.breaks[line];
}

// Whether label, at its row, meets other, a label to its right: their
// texts closer than two columns (names one space apart read as one
// phrase), or label's text over or against other's bar, which runs from
// below other's last line down to the arrows.
bool meets(const Label& label, const Label& other)
{
    const int top = label.row + label.lines - 1;
    const int otherTop = other.row + other.lines - 1;
    if (label.row <= otherTop && other.row <= top && other.at < label.at + label.wide + 2)
        return true;
    return label.row < other.row && other.at <= label.at + label.wide;
}

// Places the labels, rightmost first, each on the lowest row where it meets
// none placed before it. Returns the rows taken.
int placeLabels(Label* labels, int count, int width)
{
    int rows = 0;
    for (int i = count - 1; i >= 0; --i) {
        Label& label = labels[i];
        breakLabel(label, std::max(width - label.at, 1));
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
                put(line, label.at, label.names->text + label.breaks[fromTop],
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

// ---- The node beside the list -------------------------------------------

// Below the row line of the node it points at: its next as an arrow up to
// that node's box, then its own box under it, with its names before it
// where they fit, else after it, else on the lines below.
//
//       [5]->[7]->NULL           [1]->[3]=>[9]->NULL
//        ^                                  ^
//        |                                  |
//       [4] <- node       current unlinked -> [3]
void emitAsideUnder(Drawing& out, const Scene& scene, int column, int width)
{
    Line line;
    clear(line);
    put(line, column, "^");
    emit(out, line, width);
    put(line, column, scene.asideMarked ? "=" : "|");
    emit(out, line, width);
    const Value& value = scene.asideValue;
    const int start = std::max(0, std::min(column - 1, width - value.length - 2));
    put(line, start, "[");
    put(line, start + 1, value.text, value.length);
    put(line, start + 1 + value.length, "]");
    const Names& names = scene.names[scene.asideNames];
    const bool word = *scene.asideWord != '\0';
    char before[96];
    char after[96];
    std::snprintf(before, sizeof before, "%s%s%s -> ", names.text, word ? " " : "",
                  scene.asideWord);
    std::snprintf(after, sizeof after, "<- %s%s%s", names.text, word ? " " : "", scene.asideWord);
    const int left = start - static_cast<int>(std::strlen(before));
    const int right = start + value.length + 3;
    if (left >= indent) {
        put(line, left, before);
        emit(out, line, width);
    } else if (right + static_cast<int>(std::strlen(after)) <= width) {
        put(line, right, after);
        emit(out, line, width);
    } else {
        emit(out, line, width);
        emitWrapped(out, after, width, "  ", "  ", true);
    }
}

// A node beside the list whose next is no node of the row, on a line of
// its own: "node -> [7]->NULL", "found (dangling) -> [10] released".
void emitAsideLine(Drawing& out, const Scene& scene, int width)
{
    const Value& value = scene.asideValue;
    const bool gone = scene.aside == Aside::gone;
    const char* next = gone                            ? ""
                       : scene.aside == Aside::notRead ? "->..."
                       : scene.asideMarked             ? "=>NULL"
                                                       : "->NULL";
    char line[160];
    std::snprintf(line, sizeof line, "%s%s -> [%.*s]%s%s%s", scene.names[scene.asideNames].text,
                  gone ? " (dangling)" : "", value.length, value.text, next,
                  *scene.asideWord != '\0' ? " " : "", scene.asideWord);
    emitWrapped(out, line, width, "  ", "    ", true);
}

// Each line of the row with the labels of its own nodes over it, and the
// node beside the list under the line it points into.
void emitRow(Drawing& out, const Scene& scene, const Row& row, int width)
{
    Line text;
    clear(text);
    for (int line = 0; line < row.lines; ++line) {
        Label labels[mostPointers + 1];
        int count = 0;
        int target = -1;
        for (int i = 0; i < row.count; ++i) {
            const Piece& piece = row.piece[i];
            if (piece.line != line)
                continue;
            if (piece.names >= 0 && count <= mostPointers) {
                labels[count].names = &scene.names[piece.names];
                labels[count++].at = piece.column;
            }
            if (scene.aside == Aside::toCell && piece.cell == scene.asideTarget)
                target = piece.column;
        }
        emitLabels(out, labels, count, width);
        writeRow(row, line, text);
        emit(out, text, width);
        if (target >= 0)
            emitAsideUnder(out, scene, target, width);
    }
    if (scene.aside != Aside::none && scene.aside != Aside::toCell)
        emitAsideLine(out, scene, width);
}

// A new scene for every drawing, reset rather than made anew: a walk over
// a long list draws often.
void reset(Scene& scene)
{
    for (int i = 0; i < scene.nameCount; ++i)
        scene.names[i] = Names{};
    scene.cellCount = 0;
    scene.nameCount = 0;
    scene.nullNames = -1;
    scene.aside = Aside::none;
    scene.asideNames = -1;
    scene.asideWord = nullptr;
    scene.asideMarked = false;
}

// What drawing keeps between drawings: the scene, reset for each (a walk
// over a long list draws often), the note's text, and COLUMNS, read once
// (0 when it is no number; -1: not read yet).
struct Drawer {
    Scene scene;
    Drawing noteText;
    int columns = -1;
};

Drawer drawer;

} // namespace

void copyScene(const Scene& from, Scene& to)
{
    to.code = from.code;
    std::memcpy(to.caption, from.caption, std::strlen(from.caption) + 1);
    std::copy(from.cells, from.cells + from.cellCount, to.cells);
    to.cellCount = from.cellCount;
    std::copy(from.names, from.names + from.nameCount, to.names);
    to.nameCount = from.nameCount;
    to.nullNames = from.nullNames;
    to.aside = from.aside;
    to.asideValue = from.asideValue;
    to.asideNames = from.asideNames;
    to.asideWord = from.asideWord;
    to.asideMarked = from.asideMarked;
    to.asideTarget = from.asideTarget;
}

void layOut(const Scene& shown, int width, Drawing& out)
{
    width = std::clamp(width, 1, widest);
    out.length = 0;
    emitWrapped(out, shown.caption, width, "-- ", "-- ", false);
    Row row = choosePieces(shown, width);
    breakRow(shown, row, width);
    stretchRow(shown, row, width);
    emitRow(out, shown, row, width);
}

int drawingWidth()
{
    int& columns = drawer.columns;
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

void drawListWithCode(const Code& code, const NodeReading& reading, const Pointer& head,
                      std::initializer_list<Pointer> pointers, const Pointer& last,
                      const char* format, std::va_list args)
{
    Scene& scene = drawer.scene;
    reset(scene);
    scene.code = &code;
    const int n = std::snprintf(scene.caption, sizeof scene.caption, "%s%s// ", code.text,
                                *code.text != '\0' ? " " : "");
    std::vsnprintf(scene.caption + n, sizeof scene.caption - static_cast<std::size_t>(n), format,
                   args);
    // A trace is drawn elsewhere, at any width: it reads as much as fits the widest.
    readScene(reading, head, pointers, last, console.tracing ? widest : drawingWidth(), scene);
    showScene(scene);
}

void drawList(const char* file, int line, const NodeReading& reading, const Pointer& head,
              std::initializer_list<Pointer> pointers, const Pointer& last, const char* format,
              std::va_list args)
{
    // A drawing of a node about to be released is made before its release.
    const bool before = std::any_of(pointers.begin(), pointers.end(), [](const Pointer& p) {
        return p.offList != nullptr && std::strcmp(p.offList, released) == 0;
    });
    drawListWithCode(codeAt(file, line, before), reading, head, pointers, last, format, args);
}

void drawNoteAt(const char* file, int line, bool lineOpen, const char* reason)
{
    if (!console.drawing || !keyWaits())
        return;
    char caption[256];
    const Code& code = codeAt(file, line, true);
    std::snprintf(caption, sizeof caption, "%s // %s", code.text, reason);
    if (console.tracing) {
        traceNote(code, caption);
        return;
    }
    if (noteStep(code, caption))
        return;
    Drawing& out = drawer.noteText;
    out.length = 0;
    if (lineOpen)
        append(out, "\n", 1);
    emitWrapped(out, caption, drawingWidth(), "-- ", "-- ", false);
    std::fwrite(out.text, 1, static_cast<std::size_t>(out.length), stdout);
    flushOutput();
}
