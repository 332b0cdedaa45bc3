#include "draw.h"

#include "console.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A drawing is worked out before any of it is printed, as git's graph.c
// does: which pointers stand where (Scene), which nodes the row shows
// (Piece), where each label goes (Label); then each kind of line is printed
// by a function of its own.

namespace {

constexpr int indent = 2;        // the rows stand under the caption
constexpr int widest = 256;      // a wider terminal still gets this much
constexpr int most = widest / 3; // pieces in a row: a node takes 3 columns at least
constexpr int mostPointers = 8;
constexpr int mostPieces = most + 2 * mostPointers + 1;

// A run of names at one column: "head,cursor".
struct Label {
    char text[64] = {};
    int length = 0;
    int at = 0;    // the column of what they point at
    int start = 0; // the column the text starts at
    int row = 0;   // 0 is the row above the arrows
};

// The pointers of one drawing, sorted by where they stand.
struct Scene {
    const void* anchors[mostPointers] = {}; // the named nodes on the list, in list order
    Label labels[mostPointers];             // the names at each anchor
    int anchorCount = 0;
    Label atNull;                    // the names of the null pointers
    const void* aside = nullptr;     // a node off the list, if any
    const char* asideWord = nullptr; // how it stands: "unlinked", "released"
    Label asideNames;                // the names still holding it
};

// One piece of the row of nodes: a node, "..." for nodes left out, or NULL.
struct Piece {
    const void* node = nullptr; // nullptr for "..." and NULL
    char text[16] = {};
    int length = 0;
    int column = 0; // where its text starts
};

// The pieces of the row, in order; the last is NULL.
struct Pieces {
    Piece piece[mostPieces];
    int count = 0;
};

// One line of output being put together, printed without trailing blanks
// and never past the width.
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

void print(Line& line, int width)
{
    int end = std::min(line.end, width);
    while (end > 0 && line.text[end - 1] == ' ')
        --end;
    std::printf("%.*s\n", end, line.text);
    clear(line);
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

// The columns a drawing may take: COLUMNS when it is a number, else the
// terminal's width, else 80. Asked once: a drawing never changes it midway.
int drawingWidth()
{
    static int width = 0;
    if (width > 0)
        return width;
    const char* columns = std::getenv("COLUMNS");
    if (columns != nullptr) {
        char* end = nullptr;
        long number = std::strtol(columns, &end, 10);
        if (end != columns && *end == '\0' && number > 0 && number <= 10000)
            width = static_cast<int>(number);
    }
    if (width == 0)
        width = terminalColumns();
    if (width == 0)
        width = 80;
    return width;
}

// The caption (format and args, as printf), broken between words to fit
// the width.
void printCaption(const char* format, std::va_list args, int width)
{
    char caption[256];
    std::vsnprintf(caption, sizeof caption, format, args);
    const int room = std::max(width - 3, 1);
    const char* p = caption;
    do {
        int n = static_cast<int>(std::strlen(p));
        if (n > room) {
            n = room;
            while (n > 0 && p[n] != ' ')
                --n;
            if (n == 0)
                n = room;
        }
        std::printf("-- %.*s\n", n, p);
        p += n;
        while (*p == ' ')
            ++p;
    } while (*p != '\0');
}

// Sorts the pointers: the nodes on the list they stand at (the anchors, in
// list order), NULL, and the node off the list, which also takes the names
// left behind on it.
Scene sortPointers(const Pointer& head, std::initializer_list<Pointer> pointers,
                   const Pointer& last)
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
    return scene;
}

Piece& addPiece(Pieces& pieces, const NodeReading& reading, const void* node)
{
    Piece& piece = pieces.piece[pieces.count++];
    piece.node = node;
    piece.length = node != nullptr ? reading.text(node, piece.text) : 0;
    return piece;
}

void addMark(Pieces& pieces, const char* text)
{
    Piece& piece = pieces.piece[pieces.count++];
    piece.node = nullptr;
    piece.length = std::snprintf(piece.text, sizeof piece.text, "%s", text);
}

// Which nodes the row shows: the anchors, NULL and a "..." after each anchor
// must fit; the nodes between them are walked, in order, only while there
// is room for them, so no more of the list is read than is drawn.
Pieces chooseNodes(const NodeReading& reading, const Scene& scene, int width)
{
    const int gap = 5; // "...->"
    int room = width - indent - 4;
    for (int i = 0; i < scene.anchorCount; ++i) {
        char text[16];
        const void* until = i + 1 < scene.anchorCount ? scene.anchors[i + 1] : nullptr;
        room -= reading.text(scene.anchors[i], text) + 4; // "[" text "]->"
        if (reading.next(scene.anchors[i]) != until)
            room -= gap;
    }
    Pieces pieces;
    for (int i = 0; i < scene.anchorCount; ++i) {
        addPiece(pieces, reading, scene.anchors[i]);
        const void* until = i + 1 < scene.anchorCount ? scene.anchors[i + 1] : nullptr;
        const void* node = reading.next(scene.anchors[i]);
        const bool adjacent = node == until;
        while (node != until && node != nullptr && pieces.count < most) {
            const Piece& piece = addPiece(pieces, reading, node);
            if (piece.length + 4 > room) {
                --pieces.count;
                break;
            }
            room -= piece.length + 4;
            node = reading.next(node);
        }
        if (node != until)
            addMark(pieces, "...");
        else if (!adjacent)
            room += gap;
    }
    addMark(pieces, "NULL");
    return pieces;
}

// The row of nodes, [a]->[b]->...->NULL, noting where each piece's text
// stands.
void layOutRow(Pieces& pieces, Line& row)
{
    clear(row);
    int column = indent;
    for (int i = 0; i < pieces.count; ++i) {
        Piece& piece = pieces.piece[i];
        const bool boxed = piece.node != nullptr;
        if (boxed)
            put(row, column++, "[");
        piece.column = column;
        put(row, column, piece.text, piece.length);
        column += piece.length;
        if (boxed)
            put(row, column++, "]");
        if (i + 1 < pieces.count) {
            put(row, column, "->");
            column += 2;
        }
    }
}

const Piece& pieceOf(const Pieces& pieces, const void* node)
{
    for (int i = 0; node != nullptr && i < pieces.count; ++i)
        if (pieces.piece[i].node == node)
            return pieces.piece[i];
    return pieces.piece[pieces.count - 1]; // NULL
}

// Places the labels, rightmost first, each on the lowest row where its text
// meets no other and crosses no bar of a label above it. The labels to its
// right start past its bar, unless the right edge pushed one left over it:
// then its bar is hidden where that text stands. Returns the rows taken.
int placeLabels(Label* labels, int count, int width)
{
    int rows = 0;
    for (int i = count - 1; i >= 0; --i) {
        Label& label = labels[i];
        label.start = std::max(0, std::min(label.at, width - label.length));
        for (label.row = 0;; ++label.row) {
            bool clear = true;
            for (int j = i + 1; j < count; ++j) {
                const Label& other = labels[j];
                if (other.row == label.row && !(label.start + label.length < other.start ||
                                                other.start + other.length < label.start))
                    clear = false;
                if (other.row > label.row && label.start <= other.at &&
                    other.at < label.start + label.length)
                    clear = false;
            }
            if (clear)
                break;
        }
        rows = std::max(rows, label.row + 1);
    }
    return rows;
}

// The label rows, top down: each label's text on its row with a bar under
// it down to the row of arrows, "v".
void printLabels(Label* labels, int count, int width)
{
    Line line;
    clear(line);
    for (int r = placeLabels(labels, count, width) - 1; r >= 0; --r) {
        for (int i = 0; i < count; ++i) {
            if (labels[i].row == r)
                put(line, labels[i].start, labels[i].text, labels[i].length);
            else if (labels[i].row > r)
                put(line, labels[i].at, "|");
        }
        print(line, width);
    }
    for (int i = 0; i < count; ++i)
        put(line, labels[i].at, "v");
    if (count > 0)
        print(line, width);
}

// The labels of the anchors and of NULL, each over its piece: those whose
// piece is past the width (long values, many pointers) go under the row.
struct Labels {
    Label over[mostPointers + 1];
    int overCount = 0;
    Label past[mostPointers + 1];
    const Piece* pastPiece[mostPointers + 1] = {};
    int pastCount = 0;
};

Labels labelPieces(const Scene& scene, const Pieces& pieces, int width)
{
    Labels labels;
    for (int i = 0; i <= scene.anchorCount; ++i) {
        const bool anchor = i < scene.anchorCount;
        Label label = anchor ? scene.labels[i] : scene.atNull;
        const Piece& piece = pieceOf(pieces, anchor ? scene.anchors[i] : nullptr);
        label.at = piece.column;
        if (label.length == 0)
            continue;
        if (label.at < width) {
            labels.over[labels.overCount++] = label;
        } else {
            labels.pastPiece[labels.pastCount] = &piece;
            labels.past[labels.pastCount++] = label;
        }
    }
    return labels;
}

// A line under the row for what a pointer holds: "tail -> [42949]",
// "found -> [10] unlinked".
void printBeside(const Label& names, const Piece& piece, const char* word, int width)
{
    Line line;
    clear(line);
    const bool boxed = piece.node != nullptr;
    put(line, indent, names.text, names.length);
    int column = indent + names.length;
    put(line, column, boxed ? " -> [" : " -> ");
    column += boxed ? 5 : 4;
    put(line, column, piece.text, piece.length);
    column += piece.length;
    if (boxed)
        put(line, column++, "]");
    if (word != nullptr) {
        put(line, column, " ");
        put(line, column + 1, word);
    }
    print(line, width);
}

void printAside(const NodeReading& reading, const Scene& scene, int width)
{
    if (scene.aside == nullptr)
        return;
    Piece piece;
    piece.node = scene.aside;
    piece.length = reading.text(scene.aside, piece.text);
    printBeside(scene.asideNames, piece, scene.asideWord, width);
}

} // namespace

void drawList(const NodeReading& reading, const Pointer& head,
              std::initializer_list<Pointer> pointers, const Pointer& last, const char* format,
              std::va_list args)
{
    const int width = std::min(drawingWidth(), widest);
    printCaption(format, args, width);
    const Scene scene = sortPointers(head, pointers, last);
    Pieces pieces = chooseNodes(reading, scene, width);
    Line row;
    layOutRow(pieces, row);
    Labels labels = labelPieces(scene, pieces, width);
    printLabels(labels.over, labels.overCount, width);
    print(row, width);
    for (int i = 0; i < labels.pastCount; ++i)
        printBeside(labels.past[i], *labels.pastPiece[i], nullptr, width);
    printAside(reading, scene, width);
}
