// lifolist: a stack. Every value after the first is pushed on top, so the
// listing runs from the last value typed (the top) to the first.
#include "intlist.h"

#include "console.h"

int main(int /*argc*/, char** argv)
{
    nameProgram(argv[0]);
    readIntList(push);
    printIntList("inputed spisok first -> last");
    return finishOutput();
}
