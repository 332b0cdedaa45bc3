// The integer list's text: every line is converted with atoi and every value
// printed with printf("%5d"); done by the C library, the two cost several
// times more than the list itself. These do the same by hand, and the fuzz
// target proves them equal to the C library's on random and edge input.
#pragma once

#include <cstdint>

// atoi's value of text, as 64-bit glibc gives it out of range too: the
// number as strtoll reads it (white space, a sign, digits), narrowed to 32
// bits. text holds at most 11 characters, as the line buffer does.
std::int32_t toInt32(const char* text);

// Formats value as printf("%5d") would, at the end of field (no NUL), and
// returns where the text starts.
const char* formatField5(std::int32_t value, char (&field)[12]);

// Prints value on standard output as printf("%5d") would.
void printField5(std::int32_t value);
