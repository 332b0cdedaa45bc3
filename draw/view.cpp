// --step's full-screen view: the step's drawing as --draw lays it out at the
// screen's width, the source around the code that ran (that line marked),
// the last lines of the program's own output, and a status line. Plain
// ECMA-48: cursor home, erase in line and in display, bold.
#include "console.h"
#include "scene.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <string_view>

namespace {

constexpr int leastColumns = 40;
constexpr int leastRows = 16;
constexpr int mostRows = 200;

// The screen being put together, row by row.
struct Screen {
    char text[mostRows * (widest + 16)];
    int length = 0;
    int rows = 0;
    int columns = 0;
};

// The last rows of the program's output, each line wrapped to the width,
// newest first.
struct Output {
    char kept[8192];
    std::string_view row[mostRows];
    int count = 0;
};

// Everything the view puts together, in one block.
struct View {
    Screen screen;
    Drawing drawn;
    Output output;
};

View* view = nullptr; // made when the view is first shown: most runs never need it

void add(const char* text, int length)
{
    length = std::min(length, static_cast<int>(sizeof view->screen.text) - view->screen.length);
    std::memcpy(view->screen.text + view->screen.length, text,
                static_cast<std::size_t>(std::max(length, 0)));
    view->screen.length += std::max(length, 0);
}

void add(std::string_view text) { add(text.data(), static_cast<int>(text.size())); }

// Part of text, clamped to it: string_view's own substr may throw, and would
// bring in the C++ runtime library.
std::string_view part(std::string_view text, std::size_t from,
                      std::size_t length = std::string_view::npos)
{
    from = std::min(from, text.size());
    return {text.data() + from, std::min(length, text.size() - from)};
}

// Where a row of text that fills columns ends (in bytes): a character of
// several bytes takes one column.
std::size_t rowEnd(std::string_view line, int columns)
{
    std::size_t at = 0;
    for (int shown = 0; at < line.size(); ++at) {
        if ((static_cast<unsigned char>(line[at]) & 0xc0) == 0x80)
            continue;
        if (shown++ == columns)
            break;
    }
    return at;
}

// One row, never wider than the screen, in bold when marked.
void addRow(std::string_view text, bool marked = false)
{
    if (view->screen.rows > 0)
        add("\r\n");
    if (marked)
        add("\x1b[1m");
    add(part(text, 0, rowEnd(text, view->screen.columns)));
    if (marked)
        add("\x1b[m");
    add("\x1b[K");
    ++view->screen.rows;
}

// ---- The source pane ----------------------------------------------------

// The pane: the file's path, then rows lines around the marked ones.
void addSource(const Scene& scene, int rows)
{
    const SourceLines* source = scene.code != nullptr ? sourceLinesOf(scene.code->file) : nullptr;
    if (source == nullptr || rows < 2 || source->count == 0)
        return;
    const int* marked = scene.code->lines;
    const int count = scene.code->count;
    char row[widest + 32];
    std::snprintf(row, sizeof row, "%s", source->file->path);
    addRow(row);
    // The visible lines around the first marked one.
    const int center = count > 0 ? marked[0] : 0;
    int shown[mostRows];
    int n = 0;
    int before = center;
    int after = center;
    shown[n++] = center;
    while (n < rows - 1 && (before > 0 || after + 1 < source->count)) {
        // Two lines after for one before: what comes next matters more.
        const bool down = after + 1 < source->count && (n % 3 != 0 || before == 0);
        int& at = down ? after : before;
        at += down ? 1 : -1;
        while (at > 0 && at + 1 < source->count && source->isCall(at))
            at += down ? 1 : -1;
        if (!source->isCall(at) && std::find(shown, shown + n, at) == shown + n)
            shown[n++] = at;
    }
    std::sort(shown, shown + n);
    for (int i = 0; i < n; ++i) {
        const bool isMarked = std::find(marked, marked + count, shown[i]) != marked + count;
        // As the file has it: a line keeps its column from step to step.
        const std::string_view line = source->line(shown[i]);
        const int length = std::snprintf(
            row, sizeof row, "%c%4d  %.*s", isMarked ? '>' : ' ', shown[i] + 1,
            static_cast<int>(std::min<std::size_t>(line.size(), widest)), line.data());
        addRow({row,
                static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(sizeof row) - 1))},
               isMarked);
    }
}

// ---- The output pane ----------------------------------------------------

// The output's last rows, up to most: every line wrapped at the width
// rather than cut, so that no difference at its end is hidden.
void readOutput(int most, long end)
{
    Output& out = view->output;
    std::string_view text(out.kept,
                          static_cast<std::size_t>(keptOutput(out.kept, sizeof out.kept, end)));
    out.count = 0;
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    while (out.count < most && !text.empty()) {
        const auto cut = text.rfind('\n');
        std::string_view line = cut == std::string_view::npos ? text : part(text, cut + 1);
        text = cut == std::string_view::npos ? std::string_view{} : part(text, 0, cut);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1); // written through a Windows text stream
        std::string_view rows[mostRows];
        int n = 0;
        do {
            const std::size_t at = rowEnd(line, view->screen.columns);
            rows[n++] = part(line, 0, at);
            line = part(line, at);
        } while (!line.empty() && n < mostRows);
        while (n > 0 && out.count < most)
            out.row[out.count++] = rows[--n];
    }
}

// A row of the program's own text, its control characters shown as '?'.
void addText(std::string_view text, char (&row)[widest * 4 + 8])
{
    const std::size_t n = std::min(text.size(), sizeof row);
    for (std::size_t j = 0; j < n; ++j) {
        const auto c = static_cast<unsigned char>(text[j]);
        row[j] = c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    }
    addRow({row, n});
}

// The pane: its name, the output's last rows, the line being typed.
void addOutput(int rows, const char* typed)
{
    if (rows < 2)
        return;
    addRow("output");
    char row[widest * 4 + 8];
    const int room = rows - 1 - (typed != nullptr ? 1 : 0);
    for (int i = std::min(view->output.count, room) - 1; i >= 0; --i)
        addText(view->output.row[i], row);
    if (typed != nullptr) {
        // The end of a long line, where the typing is.
        std::string_view line(typed);
        while (line.size() > 0 && rowEnd(line, view->screen.columns - 1) < line.size())
            line = part(line, rowEnd(line, 1));
        const int n =
            std::snprintf(row, sizeof row, "%.*s_", static_cast<int>(line.size()), line.data());
        addText({row, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof row)))},
                row);
    }
}

// The status line: the step, then the keys as room allows; in full when
// all of them fit, else each in brief.
void addStatus(const ViewState& state)
{
    char row[widest + 64];
    const int start =
        state.steps == 0 ? std::snprintf(row, sizeof row, "no step yet")
        : state.ended ? std::snprintf(row, sizeof row, "step %ld of %ld", state.step, state.steps)
                      : std::snprintf(row, sizeof row, "step %ld", state.step);
    const int room = view->screen.columns - 1;
    int full = start;
    for (const KeyName& key : state.keys)
        full += 2 + static_cast<int>(std::strlen(key.full));
    const bool brief = full > room;
    int n = start;
    for (const KeyName& key : state.keys) {
        const char* name = brief ? key.brief : key.full;
        const int more = static_cast<int>(std::strlen(name)) + (brief ? 1 : 2);
        if (n + more <= room)
            n += std::snprintf(row + n, sizeof row - static_cast<std::size_t>(n), "%s%s",
                               brief ? " " : "  ", name);
    }
    addRow({row, static_cast<std::size_t>(std::min(n, room))});
}

int lineCount(const Drawing& text)
{
    return static_cast<int>(std::count(text.text, text.text + text.length, '\n'));
}

} // namespace

bool viewFits()
{
    int columns = 0;
    int rows = 0;
    return screenSize(columns, rows) && columns >= leastColumns && rows >= leastRows;
}

namespace {

// The screen, begun: false when it is too small for the view, which it
// then says.
bool beginScreen(int columns, int rows)
{
    if (view == nullptr) {
        void* room = std::malloc(sizeof(View));
        if (room == nullptr)
            outOfMemory();
        view = ::new (room) View;
    }
    view->screen.length = 0;
    view->screen.rows = 0;
    view->screen.columns = std::min(columns, widest);
    add("\x1b[H");
    if (columns >= leastColumns && rows >= leastRows)
        return true;
    char row[96];
    const int n = std::snprintf(row, sizeof row, "needs %dx%d, is %dx%d", leastColumns, leastRows,
                                columns, rows);
    addRow({row, static_cast<std::size_t>(std::clamp(n, 0, columns - 1))});
    add("\x1b[J");
    writeScreen(view->screen.text, static_cast<std::size_t>(view->screen.length));
    return false;
}

// The drawing, at most room rows of it: a taller one is cut, with a row
// that says how much.
void addDrawing(const Scene& scene, int room)
{
    layOut(scene, view->screen.columns, view->drawn);
    const int drawingRows = lineCount(view->drawn);
    const int cut = drawingRows > room ? drawingRows - (room - 1) : 0;
    const char* at = view->drawn.text;
    for (int i = 0; i < drawingRows - cut; ++i) {
        const char* end = std::strchr(at, '\n');
        addRow({at, static_cast<std::size_t>(end - at)});
        at = end + 1;
    }
    if (cut > 0) {
        char row[64];
        const int n =
            std::snprintf(row, sizeof row, "(%d more lines of the drawing not shown)", cut);
        addRow({row, static_cast<std::size_t>(std::clamp(n, 0, view->screen.columns - 1))});
    }
}

} // namespace

bool showView(const Scene* scene, const ViewState& state)
{
    int columns = 0;
    int rows = 0;
    if (!screenSize(columns, rows) || !beginScreen(columns, rows))
        return false;
    rows = std::min(rows, mostRows);
    // The drawing first; then the source and the output share what is
    // left, the source first (its marked line stays while any room does).
    const int left = rows - 1 - (state.note != nullptr ? 1 : 0);
    const bool source =
        scene != nullptr && scene->code != nullptr && sourceLinesOf(scene->code->file) != nullptr;
    const int sourceLeast = source ? 4 : 0;
    if (scene != nullptr)
        addDrawing(*scene, std::max(left - sourceLeast, 2));
    // The output takes the lines it has, up to six; the source the rest.
    const int rest = left - view->screen.rows;
    readOutput(6, state.outputEnd);
    const int wanted = view->output.count + (state.typed != nullptr ? 1 : 0);
    const int outputRows =
        wanted > 0 ? std::min(1 + wanted, rest - std::min(sourceLeast, rest)) : 0;
    if (scene != nullptr)
        addSource(*scene, rest - (outputRows >= 2 ? outputRows : 0));
    addOutput(left - view->screen.rows, state.typed);
    while (view->screen.rows < left)
        addRow("");
    if (state.note != nullptr)
        addRow(state.note);
    addStatus(state);
    add("\x1b[J");
    writeScreen(view->screen.text, static_cast<std::size_t>(view->screen.length));
    return true;
}
