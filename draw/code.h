// Inside draw/: the code a drawing shows ran, read from the sources the
// program was built from (embedded at build time), so that a caption's
// statements are never written twice and the view marks the lines they
// came from. The rule by which a draw call finds its code is said where
// the draw calls are declared (intlist.h, charlist.h, pointer.h).
#pragma once

#include <string_view>

inline constexpr int mostMarked = 8; // lines one step marks

// The code at one draw call: its statements, as the source writes them,
// and the lines they stand on.
struct Code {
    const char* file = nullptr; // the source, as the call's __FILE__ names it
    char text[160] = {};        // "prev = cur; cur = cur->next;", or "" for none
    int lines[mostMarked] = {}; // the lines (from 0) the view marks
    int count = 0;
};

// A source file the program is built from, embedded at build time.
struct SourceFile {
    const char* path; // from the project's root: "programs/posremove/main.cpp"
    const char* text;
};
extern const SourceFile programSources[];
extern const int programSourceCount;

// A source file cut into lines, with its drawing calls marked: the view
// leaves those out.
struct SourceLines {
    const SourceFile* file = nullptr;
    int count = 0;
    std::string_view line(int n) const;
    bool isCall(int n) const;
    const int* start = nullptr;
    const int* length = nullptr;
    const bool* call = nullptr;
};

// The lines of the embedded source whose path ends file's, or nullptr.
const SourceLines* sourceLinesOf(const char* file);

// The code of the draw call at line (from 1; any line of the call) of
// file; with before, the one statement after the call, which runs after
// the drawing. Read once for each call, and kept for the whole run.
const Code& codeAt(const char* file, int line, bool before);

// A line's code: without its indentation and its comment.
std::string_view codeOf(std::string_view line);
