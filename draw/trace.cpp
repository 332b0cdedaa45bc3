// --trace: one more writer of the scenes, beside the drawing and the view.
// Every line of standard output is then one JSON record: the sources the
// program is built from, its own output as it comes, and each step as the
// scene --draw would lay out. A string's characters stand for bytes: each
// is the byte of its number (0 to 255), so that no byte is lost or changed.
#include "console.h"
#include "scene.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Tracer {
    std::FILE* out = nullptr; // standard output as found
    long steps = 0;
    Scene last; // the last step, for a note drawn over it
};

Tracer tracer;

// text as a JSON string, quotes included.
void putString(const char* text, std::size_t n)
{
    std::FILE* out = tracer.out;
    std::putc('"', out);
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\')
            std::fprintf(out, "\\%c", c);
        else if (c == '\n')
            std::fputs("\\n", out);
        else if (c < 0x20 || c >= 0x7f)
            std::fprintf(out, "\\u%04x", c);
        else
            std::putc(c, out);
    }
    std::putc('"', out);
}

void putString(const char* text) { putString(text, std::strlen(text)); }

// A run of names, "head,cursor", as a JSON array.
void putNames(const Scene& scene, int names)
{
    std::FILE* out = tracer.out;
    std::putc('[', out);
    if (names >= 0) {
        const Names& run = scene.names[names];
        for (int start = 0, i = 0; i <= run.length; ++i) {
            if (i < run.length && run.text[i] != ',')
                continue;
            std::fputs(start > 0 ? ", " : "", out);
            putString(run.text + start, static_cast<std::size_t>(i - start));
            start = i + 1;
        }
    }
    std::putc(']', out);
}

long writeOutput(const char* bytes, std::size_t n)
{
    std::fputs("{\"out\": ", tracer.out);
    putString(bytes, n);
    std::fputs("}\n", tracer.out);
    return std::ferror(tracer.out) ? -1 : static_cast<long>(n);
}

void writeNodes(const Scene& scene)
{
    std::FILE* out = tracer.out;
    std::fputs(", \"nodes\": [", out);
    for (int i = 0; i < scene.cellCount; ++i) {
        const Cell& cell = scene.cells[i];
        std::fputs(i > 0 ? ", {\"value\": " : "{\"value\": ", out);
        putString(cell.value.text, static_cast<std::size_t>(cell.value.length));
        std::fputs(", \"names\": ", out);
        putNames(scene, cell.names);
        std::fprintf(out, ", \"linked\": %s, \"leftOut\": %d, \"countStopped\": %s}",
                     cell.marked ? "true" : "false", cell.unread,
                     cell.unreadMore ? "true" : "false");
    }
    std::fputs("], \"null\": ", out);
    putNames(scene, scene.nullNames);
}

// The node beside the list: its next the index of a node of the row, or
// "NULL", "unread" (a node not read), or null once it is released.
void writeAside(const Scene& scene)
{
    std::FILE* out = tracer.out;
    std::fputs(", \"aside\": ", out);
    if (scene.aside == Aside::none) {
        std::fputs("null", out);
        return;
    }
    std::fputs("{\"value\": ", out);
    putString(scene.asideValue.text, static_cast<std::size_t>(scene.asideValue.length));
    std::fputs(", \"names\": ", out);
    putNames(scene, scene.asideNames);
    std::fprintf(out, ", \"state\": \"%s\", \"linked\": %s, \"next\": ",
                 *scene.asideWord != '\0' ? scene.asideWord : "made",
                 scene.asideMarked ? "true" : "false");
    if (scene.aside == Aside::toCell)
        std::fprintf(out, "%d}", scene.asideTarget);
    else
        std::fputs(scene.aside == Aside::toNull    ? "\"NULL\"}"
                   : scene.aside == Aside::notRead ? "\"unread\"}"
                                                   : "null}",
                   out);
}

void writeStep(const Scene& scene)
{
    std::fflush(stdout); // the program's output so far, first
    std::FILE* out = tracer.out;
    std::fprintf(out, "{\"step\": %ld, \"caption\": ", ++tracer.steps);
    putString(scene.caption);
    const SourceLines* source = scene.code != nullptr ? sourceLinesOf(scene.code->file) : nullptr;
    std::fputs(", \"file\": ", out);
    putString(source != nullptr ? source->file->path : "");
    std::fputs(", \"lines\": [", out);
    for (int i = 0; scene.code != nullptr && i < scene.code->count; ++i)
        std::fprintf(out, "%s%d", i > 0 ? ", " : "", scene.code->lines[i] + 1);
    std::fputs("]", out);
    writeNodes(scene);
    writeAside(scene);
    std::fputs("}\n", out);
}

// From the start: the output diverted into records, the sources first.
void startTracing()
{
    tracer.out = divertOutput(writeOutput);
    if (tracer.out == nullptr) {
        reportError("--trace cannot take standard output on this system", 0);
        std::exit(1);
    }
    for (int i = 0; i < programSourceCount; ++i) {
        std::fputs("{\"source\": ", tracer.out);
        putString(programSources[i].path);
        std::fputs(", \"text\": ", tracer.out);
        putString(programSources[i].text);
        std::fputs("}\n", tracer.out);
    }
}

[[maybe_unused]] const bool hooked = (console.onTracing = startTracing, true);

} // namespace

void traceScene(const Scene& scene)
{
    copyScene(scene, tracer.last);
    writeStep(scene);
}

void traceNote(const Code& code, const char* caption)
{
    Scene& scene = tracer.last;
    scene.code = &code;
    std::snprintf(scene.caption, sizeof scene.caption, "%s", caption);
    writeStep(scene);
}
