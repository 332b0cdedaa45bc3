// fifolist: a queue. Every value joins the tail, so the list keeps the order
// in which the values were typed.
#include "intlist.h"

#include "console.h"

int main(int argc, char** argv)
{
    startProgram(argc, argv,
                 "A queue: each integer you type joins the back of a singly linked list,\n"
                 "which is then printed from first to last.\n",
                 intInputHelp);
    readIntList(append);
    printIntList("inputed spisok first -> last");
    return finishOutput();
}
