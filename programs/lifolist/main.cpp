// lifolist: a stack. Every value after the first is pushed on top, so the
// listing runs from the last value typed (the top) to the first.
#include "intlist.h"

#include "console.h"

int main()
{
    readIntList(push);
    printIntList("inputed spisok first -> last");
    return finishOutput();
}
