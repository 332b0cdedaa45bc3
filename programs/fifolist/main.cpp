// fifolist: a queue. Every value joins the tail, so the list keeps the order
// in which the values were typed.
#include "intlist.h"

#include "console.h"

int main(int /*argc*/, char** argv)
{
    nameProgram(argv[0]);
    readIntList(append);
    printIntList("inputed spisok first -> last");
    return finishOutput();
}
