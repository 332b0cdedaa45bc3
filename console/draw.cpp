#include "draw.h"

#include "console.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bool drawing = false;

namespace {

constexpr int indent = 2;        // the rows stand under the caption
constexpr int widest = 256;      // a wider terminal still gets this much
constexpr int most = widest / 3; // pieces in a row: a node takes 3 columns at least
constexpr int mostPointers = 8;

// A run of names at one column: "head,cursor".
struct Label {
    char text[64] = {};
    int length = 0;
    int at = 0; // the column of what they point at
    int start = 0;
    int row = 0; // 0 is the row above the arrows
};

void addName(Label& label, const char* name)
{
    if (name == nullptr)
        return;
    int n = std::snprintf(label.text + label.length,
                          sizeof label.text - static_cast<unsigned>(label.length), "%s%s",
                          label.length > 0 ? "," : "", name);
    label.length = std::min(label.length + std::max(n, 0), static_cast<int>(sizeof label.text) - 1);
}

// One piece of the row of nodes: a node, "..." for nodes left out, or NULL.
struct Piece {
    const void* node; // nullptr for "..." and NULL
    char text[16];
    int length;
    int column;
};

class Row {
  public:
    explicit Row(int width) : width_(width) { clear(); }
    void clear()
    {
        std::memset(text_, ' ', sizeof text_);
        end_ = 0;
    }
    void put(int column, const char* text, int length)
    {
        for (int i = 0; i < length && column + i < widest; ++i)
            text_[column + i] = text[i];
        end_ = std::max(end_, std::min(column + length, widest));
    }
    // Prints what fits the width, without trailing blanks.
    void print()
    {
        int end = std::min(end_, width_);
        while (end > 0 && text_[end - 1] == ' ')
            --end;
        std::printf("%.*s\n", end, text_);
        clear();
    }

  private:
    int width_;
    char text_[widest];
    int end_;
};

// The caption, broken between words to fit the width.
void printCaption(const char* caption, int width)
{
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

// Places the labels, rightmost first, each on the lowest row where its text
// meets no other and crosses no bar of a label above it. The labels to its
// right start past its bar, unless the right edge pushed one left over it:
// then its bar is hidden where that text stands.
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

} // namespace

void drawList(const NodeReading& reading, const Pointer& head,
              std::initializer_list<Pointer> pointers, const Pointer& last, const char* format,
              std::va_list args)
{
    const int width = std::min(terminalWidth(), widest);
    char caption[256];
    std::vsnprintf(caption, sizeof caption, format, args);
    printCaption(caption, width);

    // Sort the pointers: the nodes on the list they stand at (the anchors, in
    // list order), NULL, and the node off the list.
    Pointer all[mostPointers] = {head};
    int count = 1;
    for (const Pointer& pointer : pointers)
        if (count < mostPointers - 1)
            all[count++] = pointer;
    all[count++] = last;
    const void* anchors[mostPointers];
    Label labels[mostPointers + 1];
    int anchorCount = 0;
    Label atNull;
    Label aside;
    const void* asideNode = nullptr;
    const char* asideWord = nullptr;
    for (int i = 0; i < count; ++i) {
        if (all[i].offList != nullptr) {
            asideNode = all[i].node;
            asideWord = all[i].offList;
            addName(aside, all[i].name);
        }
    }
    for (int i = 0; i < count; ++i) {
        const Pointer& pointer = all[i];
        if (pointer.offList != nullptr)
            continue;
        if (pointer.node == nullptr) {
            addName(atNull, pointer.name);
        } else if (pointer.node == asideNode) {
            addName(aside, pointer.name); // left behind on the node that went
        } else if (all[0].node != nullptr) {
            const void** same = std::find(anchors, anchors + anchorCount, pointer.node);
            if (same == anchors + anchorCount)
                anchors[anchorCount++] = pointer.node;
            addName(labels[same - anchors], pointer.name);
        }
    }

    // The anchors, NULL and a "..." after each anchor must fit; the nodes
    // between them are walked, in order, only while there is room for them.
    Piece pieces[most + 2 * mostPointers + 1];
    int pieceCount = 0;
    auto add = [&](const void* node) -> Piece& {
        Piece& piece = pieces[pieceCount++];
        piece.node = node;
        piece.length = reading.text(node, piece.text);
        return piece;
    };
    auto mark = [&](const char* text) {
        Piece& piece = pieces[pieceCount++];
        piece.node = nullptr;
        piece.length = std::snprintf(piece.text, sizeof piece.text, "%s", text);
    };
    const int gap = 5; // "...->"
    int room = width - indent - 4;
    for (int i = 0; i < anchorCount; ++i) {
        char text[16];
        const void* until = i + 1 < anchorCount ? anchors[i + 1] : nullptr;
        room -= reading.text(anchors[i], text) + 4; // "[" text "]->"
        if (reading.next(anchors[i]) != until)
            room -= gap;
    }
    for (int i = 0; i < anchorCount; ++i) {
        add(anchors[i]);
        const void* until = i + 1 < anchorCount ? anchors[i + 1] : nullptr;
        const void* node = reading.next(anchors[i]);
        const bool adjacent = node == until;
        while (node != until && node != nullptr && pieceCount < most) {
            const Piece& piece = add(node);
            if (piece.length + 4 > room) {
                --pieceCount;
                break;
            }
            room -= piece.length + 4;
            node = reading.next(node);
        }
        if (node != until)
            mark("...");
        else if (!adjacent)
            room += gap;
    }
    mark("NULL");

    Row row(width);
    int column = indent;
    for (int i = 0; i < pieceCount; ++i) {
        Piece& piece = pieces[i];
        const bool boxed = piece.node != nullptr;
        piece.column = column + (boxed ? 1 : 0);
        if (boxed)
            row.put(column++, "[", 1);
        row.put(column, piece.text, piece.length);
        column += piece.length;
        if (boxed)
            row.put(column++, "]", 1);
        if (i + 1 < pieceCount) {
            row.put(column, "->", 2);
            column += 2;
        }
    }

    // Every label over its piece, NULL's last. The labelled nodes alone may
    // be wider than the terminal (long values, many pointers): a label whose
    // piece is past the width is written out under the row instead.
    int labelCount = 0;
    const Piece* past[mostPointers + 1];
    Label pastLabels[mostPointers + 1];
    int pastCount = 0;
    atNull.at = pieces[pieceCount - 1].column;
    for (int i = 0; i <= anchorCount; ++i) {
        Label& label = i < anchorCount ? labels[i] : atNull;
        const Piece* piece = &pieces[pieceCount - 1];
        for (int j = 0; i < anchorCount && j < pieceCount; ++j)
            if (pieces[j].node == anchors[i])
                piece = &pieces[j];
        label.at = piece->column;
        if (label.length == 0)
            continue;
        if (label.at >= width) {
            past[pastCount] = piece;
            pastLabels[pastCount++] = label;
        } else {
            labels[labelCount++] = label;
        }
    }
    Row above(width);
    for (int r = placeLabels(labels, labelCount, width) - 1; r >= 0; --r) {
        for (int i = 0; i < labelCount; ++i) {
            if (labels[i].row == r)
                above.put(labels[i].start, labels[i].text, labels[i].length);
            else if (labels[i].row > r)
                above.put(labels[i].at, "|", 1);
        }
        above.print();
    }
    for (int i = 0; i < labelCount; ++i)
        above.put(labels[i].at, "v", 1);
    if (labelCount > 0)
        above.print();
    row.print();
    for (int i = 0; i < pastCount; ++i) {
        const bool boxed = past[i]->node != nullptr;
        row.put(indent, pastLabels[i].text, pastLabels[i].length);
        column = indent + pastLabels[i].length;
        row.put(column, boxed ? " -> [" : " -> ", boxed ? 5 : 4);
        column += boxed ? 5 : 4;
        row.put(column, past[i]->text, past[i]->length);
        if (boxed)
            row.put(column + past[i]->length, "]", 1);
        row.print();
    }

    if (asideNode != nullptr) {
        char text[16];
        int length = reading.text(asideNode, text);
        row.put(indent, aside.text, aside.length);
        column = indent + aside.length;
        row.put(column, " -> [", 5);
        row.put(column + 5, text, length);
        column += 5 + length;
        row.put(column, "] ", 2);
        row.put(column + 2, asideWord, static_cast<int>(std::strlen(asideWord)));
        row.print();
    }
}
