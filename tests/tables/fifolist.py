# fifolist: every value at the tail. It also carries the cases of the shared
# dialogue (conversion, empty and overlong lines, CRLF, end of input), which
# the other integer tables do not repeat.
from cases import case, first_drawn, FIRST_LAST, INT_PROMPT

CASES = [
    case("input order", "1\n2\n3\n\n", FIRST_LAST + "    1    2    3\n"),
    case("sign does not move a value", "-4\n0\n\n", FIRST_LAST + "   -4    0\n"),
    case("single value", "8\n\n", FIRST_LAST + "    8\n"),
    case("empty first line is 0 and does not end input", "\n\n", FIRST_LAST + "    0\n"),
    case("empty first line, then values", "\n5\n\n", FIRST_LAST + "    0    5\n"),
    case("line of spaces is 0, not the end", "1\n   \n\n", FIRST_LAST + "    1    0\n"),
    case("atoi: trailing letters, leading space, letters only",
         "12abc\n -7\nabc\n+3\n\n", FIRST_LAST + "   12   -7    0    3\n"),
    case("fields: -5 padded, six digits run on", "-5\n123456\n1\n\n",
         FIRST_LAST + "   -5123456    1\n"),
    case("lines after the empty line are not read", "1\n\n2\n3\n", FIRST_LAST + "    1\n"),
    case("32-bit extremes", "-2147483648\n2147483647\n\n",
         FIRST_LAST + "-21474836482147483647\n"),
    case("out of range narrows as glibc atoi does",
         "99999999999\n2147483648\n4294967296\n-2147483649\n\n",
         FIRST_LAST + "1215752191-2147483648    02147483647\n"),
    case("overlong line keeps 11 characters, one element",
         "123456789012345\n7\n\n", FIRST_LAST + "-539222987    7\n"),
    case("overlong line of 500 digits", "9" * 500 + "\n1\n\n",
         FIRST_LAST + "1215752191    1\n"),
    case("CRLF line ends", "1\r\n2\r\n\r\n9\r\n", FIRST_LAST + "    1    2\n"),
    case("overlong line with CRLF: the cut falls before the CR", "123456789012345\r\n7\n\n",
         FIRST_LAST + "-539222987    7\n"),
    case("only the last CR goes: a line of one CR is 0", "5\r\n\r\r\n7\r\n\r\n",
         FIRST_LAST + "    5    0    7\n"),
    case("a Ctrl-Z byte is a byte like any other", "5\n7\x1a\n8\n\n",
         FIRST_LAST + "    5    7    8\n"),
    case("vertical tab, form feed and CR before a number are white space", "\v5\n\f6\n\r7\n\n",
         FIRST_LAST + "    5    6    7\n"),
    case("lone CR inside a line ends the number", "4\r5\n\n", FIRST_LAST + "    4\n"),
    case("end of input ends the dialogue", "1\n2\n", FIRST_LAST + "    1    2\n"),
    case("last line without end-of-line counts", "1\n2", FIRST_LAST + "    1    2\n"),
    case("empty input is a single 0", "", FIRST_LAST + "    0\n"),
    case("12 characters: the 12th is thrown away", "-21474836480\n\n", FIRST_LAST + "-2147483648\n"),
    case("5000 characters: one element", "1" * 5000 + "\n2\n\n", FIRST_LAST + "-1773790777    2\n"),
    case("NUL at the start of a line ends the input", "1\n\x002\n3\n\n", FIRST_LAST + "    1\n"),
    case("NUL inside a line ends the number", "1\n2\x003\n\n", FIRST_LAST + "    1    2\n"),
    case("binary bytes read as 0", "\xff\xfe\x01\x80\n\x1b[7\n\n", FIRST_LAST + "    0    0\n"),
    case("read error: standard input is a directory", "", INT_PROMPT, status=1,
         stderr="fifolist: read error: Is a directory\n", stdin_is="directory"),
    case("read error: no standard input", "", INT_PROMPT, status=1,
         stderr="fifolist: read error: Bad file descriptor\n", stdin_is="closed"),
    case("read error in the middle: nothing more is printed", "1\n2\n", INT_PROMPT, status=1,
         stderr="fifolist: read error: Resource temporarily unavailable\n",
         stdin_is="nonblocking"),
    case("--help: what it does, its input, its manual; nothing read", "",
         """\
Usage: fifolist [--help | --version | --draw | --step | --trace]

A queue: each integer you type joins the back of a singly linked list,
which is then printed from first to last.

Type one integer per line and end the list with an empty line (Enter
alone). Text that is not a number counts as 0, and only the first 11
characters of a line count.

With --draw it also draws the list and its pointers at every step;
with --step it shows them a step at a time, its keys on screen; with
--trace it writes its output and every step as JSON, a record a line.

Keys of --step in its full-screen view:
  space, Enter, ->, j  the next step
  b, <-, k             the step before, as it was (1000 are kept)
  q, Ctrl-D            leave the view; the program runs on
  n                    on to a step of code not yet run
  g, Home              the first step kept
  G, End               the latest step; there, on to the next read
Keys of --step while it reads a line in the view:
  Enter                gives the line typed to the program
  Esc                  back to the steps; the line waits
  <-                   the step before
  ->                   the next step
  Home                 the first step kept
  End                  the latest step
  Backspace            erases a character
  Ctrl-D               on an empty line: the end of input
Keys of --step at the program's own key wait (posremove's):
  any other key        ends the wait, and the program
  b, <-, k             the step before
  q, Ctrl-D            leave the view; the program waits on
  g, Home              the first step kept
Keys of --step where the view does not open:
  space, Enter, ->, j  the next drawing
  b, <-, k             the drawing before, again
  q, Ctrl-D            the rest without stopping

Manual page: man fifolist
""", args=["--help"], stdin_is="closed"),
    case("a name ending in / is still the name", "", "fifolist (listprograms) 1.0.0\n",
         args=["--version"], argv0="bin/fifolist/", stdin_is="closed"),
    case("--version; nothing read", "", "fifolist (listprograms) 1.0.0\n", args=["--version"],
         stdin_is="closed"),
    case("--help lost: status 1 and the reason", "", "", status=1, args=["--help"],
         stderr="fifolist: write error: No space left on device\n", to_full=True),
    case("--trace lost: status 1 and the reason", "1\n\n", "", status=1, args=["--trace"],
         stderr="fifolist: write error: No space left on device\n", to_full=True, posix=True),
    case("--help with more arguments is ignored", "1\n\n", FIRST_LAST + "    1\n",
         args=["--help", "x"]),
    case("--draw with more arguments is ignored", "1\n\n", FIRST_LAST + "    1\n",
         args=["--draw", "x"]),
    case("output to a read-only terminal: status 1 and the real reason", "1\n\n", "",
         status=1, stderr="fifolist: write error: Bad file descriptor\n", to_read_only_terminal=True),
    case("other arguments are ignored", "2\n\n", FIRST_LAST + "    2\n", args=["-h"]),
    case("--draw: COLUMNS that is not a number alone is ignored", "1\n\n",
         first_drawn(1) + """\
inputed spisok first -> last
    1
""", args=["--draw"], columns="30x"),
    case("output lost: status 1 and the reason", "1\n\n", "", status=1,
         stderr="fifolist: write error: No space left on device\n", to_full=True),
    case("out of memory: status 1 and the reason", "7\n" * 1_000_000, INT_PROMPT, status=1,
         stderr="fifolist: out of memory\n", vm_limit_kb=20_000),
]
