// twoends: a double-ended queue. Negative values enter at the front, all
// others at the back; the first value stays between the two groups.
#include "intlist.h"

#include "console.h"

int main(int argc, char** argv)
{
    startProgram(argc, argv,
                 "A double-ended queue: a negative integer joins the front of a singly\n"
                 "linked list, any other the back; then the list is printed.\n",
                 intInputHelp);
    readIntList([](std::int32_t value) { return value < 0 ? Place::atHead : Place::atTail; },
                "is negative, so at the head", "is not negative, so at the tail");
    printIntList("inputed spisok first -> last");
    return finishOutput();
}
