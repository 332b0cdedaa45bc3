// lifolist: a stack. Every value after the first is pushed on top, so the
// listing runs from the last value typed (the top) to the first.
#include "intlist.h"

#include "console.h"

int main(int argc, char** argv)
{
    startProgram(argc, argv,
                 "A stack: each integer you type is pushed on the front of a singly\n"
                 "linked list, which is then printed from the top.\n",
                 intInputHelp);
    readIntList(push);
    printIntList("inputed spisok first -> last");
    return finishOutput();
}
