#include "inttext.h"

#include "console.h"

#include <cstdio>
#include <iterator>

std::int32_t toInt32(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    // At most 11 digits: far from where strtoll would stop at its limit.
    std::uint64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(*p - '0');
    // Narrowing keeps the low 32 bits, as a cast of the 64-bit value does.
    auto low = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    return static_cast<std::int32_t>(low);
}

const char* formatField5(std::int32_t value, char (&field)[12])
{
    char* start = std::end(field);
    auto magnitude = static_cast<std::uint32_t>(value);
    if (value < 0)
        magnitude = 0 - magnitude;
    do {
        *--start = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--start = '-';
    while (std::end(field) - start < 5)
        *--start = ' ';
    return start;
}

void printField5(std::int32_t value)
{
    char field[12];
    for (const char* c = formatField5(value, field); c != std::end(field); ++c)
        putByte(*c, stdout);
}
