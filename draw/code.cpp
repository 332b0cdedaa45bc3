#include "code.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int mostLines = 4096;
constexpr int mostFiles = 2; // a program's main and its list library
constexpr int mostSites = 128;

struct Cut {
    int start[mostLines];
    int length[mostLines];
    bool call[mostLines];
};

struct Site {
    const char* file;
    int line;
    bool before;
    Code code;
};

// Everything read from the sources, in one block: zero until the first
// drawing, so that a run that draws nothing never touches it.
struct Table {
    SourceLines files[mostFiles];
    Cut cuts[mostFiles];
    Site sites[mostSites];
    int siteCount = 0;
};

Table table;

Table& theTable() { return table; }

// Part of text, clamped to it: string_view's own substr may throw, and would
// bring in the C++ runtime library.
std::string_view part(std::string_view text, std::size_t from,
                      std::size_t length = std::string_view::npos)
{
    from = std::min(from, text.size());
    return {text.data() + from, std::min(length, text.size() - from)};
}

bool startsDrawing(std::string_view code)
{
    return code.starts_with("drawIntList(") || code.starts_with("drawCharList(") ||
           code.starts_with("drawNote(");
}

// Cuts source into lines, and marks the lines of each draw call.
void cut(const SourceFile& source, SourceLines& lines, Cut& into)
{
    lines.file = &source;
    lines.start = into.start;
    lines.length = into.length;
    lines.call = into.call;
    for (const char* at = source.text; *at != '\0' && lines.count < mostLines;) {
        const char* end = std::strchr(at, '\n');
        const auto length =
            static_cast<int>(end != nullptr ? static_cast<std::size_t>(end - at) : std::strlen(at));
        const int n = lines.count++;
        into.start[n] = static_cast<int>(at - source.text);
        into.length[n] = length;
        at += length + (end != nullptr ? 1 : 0);
    }
    for (int n = 0; n < lines.count; ++n) {
        into.call[n] = false;
        if (!startsDrawing(codeOf(lines.line(n))))
            continue;
        for (; n < lines.count && !codeOf(lines.line(n)).ends_with(");"); ++n)
            into.call[n] = true;
        if (n < lines.count)
            into.call[n] = true;
    }
}

void mark(Code& code, int line)
{
    if (code.count < mostMarked &&
        std::find(code.lines, code.lines + code.count, line) == code.lines + code.count)
        code.lines[code.count++] = line;
}

// The line that opens the block that the line at close (a "}") closes.
int openerOf(const SourceLines& source, int close)
{
    int depth = 1;
    for (int n = close - 1; n >= 0; --n) {
        const std::string_view code = codeOf(source.line(n));
        depth += code.starts_with('}') ? 1 : 0;
        depth -= code.ends_with('{') ? 1 : 0;
        if (depth == 0)
            return n;
    }
    return -1;
}

// No statement of its own: the code the step speaks of is above it. Under
// a block's opening line, that test and those of its if-else chain before
// it; under a block just closed (the loop that built the list), that block.
void markTest(const SourceLines& source, int above, Code& code)
{
    if (above < 0)
        return;
    const std::string_view line = codeOf(source.line(above));
    if (line.ends_with('{')) {
        for (int n = above; n >= 0 && codeOf(source.line(n)).starts_with('}');)
            mark(code, n = openerOf(source, n));
        mark(code, above);
    } else if (line.starts_with('}')) {
        for (int n = std::max(openerOf(source, above), 0); n <= above; ++n)
            if (!codeOf(source.line(n)).empty() && !source.isCall(n))
                mark(code, n);
    }
    std::sort(code.lines, code.lines + code.count);
}

void addStatement(Code& code, int line, std::string_view statement)
{
    const std::size_t at = std::strlen(code.text);
    const std::size_t room = sizeof code.text - 1 - at;
    const std::size_t gap = at > 0 ? 1 : 0;
    if (statement.size() + gap <= room) {
        std::memcpy(code.text + at, " ", gap);
        std::memcpy(code.text + at + gap, statement.data(), statement.size());
        code.text[at + gap + statement.size()] = '\0';
    }
    mark(code, line);
}

void readCode(const SourceLines& source, int line, bool before, Code& code)
{
    int call = std::clamp(line - 1, 0, source.count - 1);
    while (call > 0 && source.isCall(call) && !startsDrawing(codeOf(source.line(call))))
        --call; // the call's last line, as some compilers give it
    if (before) {
        int n = call;
        while (n < source.count && source.isCall(n))
            ++n;
        if (n < source.count && codeOf(source.line(n)).ends_with(';'))
            addStatement(code, n, codeOf(source.line(n)));
        return;
    }
    int first = call;
    while (first > 0 && call - first < mostMarked && !source.isCall(first - 1) &&
           codeOf(source.line(first - 1)).ends_with(';'))
        --first;
    for (int n = first; n < call; ++n)
        addStatement(code, n, codeOf(source.line(n)));
    if (first == call)
        markTest(source, call - 1, code);
}

} // namespace

std::string_view SourceLines::line(int n) const
{
    return {file->text + start[n], static_cast<std::size_t>(length[n])};
}

bool SourceLines::isCall(int n) const { return call[n]; }

std::string_view codeOf(std::string_view line)
{
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"' && (i == 0 || line[i - 1] != '\\'))
            quoted = !quoted;
        if (!quoted && part(line, i, 2) == "//") {
            line = part(line, 0, i);
            break;
        }
    }
    const auto first = line.find_first_not_of(' ');
    const auto last = line.find_last_not_of(' ');
    return first == std::string_view::npos ? std::string_view{}
                                           : part(line, first, last - first + 1);
}

const SourceLines* sourceLinesOf(const char* file)
{
    if (file == nullptr)
        return nullptr;
    const std::string_view path(file);
    for (int i = 0; i < std::min(programSourceCount, mostFiles); ++i) {
        const SourceFile& source = programSources[i];
        if (*source.path == '\0' || !path.ends_with(source.path))
            continue;
        Table& t = theTable();
        if (t.files[i].file == nullptr)
            cut(source, t.files[i], t.cuts[i]);
        return &t.files[i];
    }
    return nullptr;
}

const Code& codeAt(const char* file, int line, bool before)
{
    Table& t = theTable();
    Site* end = t.sites + t.siteCount;
    Site* site = std::find_if(t.sites, end, [&](const Site& s) {
        return s.line == line && s.before == before && s.file == file;
    });
    if (site != end)
        return site->code;
    if (t.siteCount == mostSites)
        site = end - 1; // never with the calls these programs make
    else
        ++t.siteCount;
    *site = Site{file, line, before, Code{}};
    site->code.file = file;
    if (const SourceLines* source = sourceLinesOf(file))
        readCode(*source, line, before, site->code);
    return site->code;
}
