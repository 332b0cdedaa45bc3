// twoends: a double-ended queue. Negative values enter at the front, all
// others at the back; the first value stays between the two groups.
#include "intlist.h"

#include "console.h"

int main(int /*argc*/, char** argv)
{
    nameProgram(argv[0]);
    readIntList([](std::int32_t value) { return value < 0 ? Place::atHead : Place::atTail; });
    printIntList("inputed spisok first -> last");
    return finishOutput();
}
