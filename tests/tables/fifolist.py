# fifolist: every value at the tail. It also carries the cases of the shared
# dialogue (conversion, empty and overlong lines, CRLF, end of input), which
# the other integer tables do not repeat.
from cases import FIRST_LAST, case

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
    case("lone CR inside a line ends the number", "4\r5\n\n", FIRST_LAST + "    4\n"),
    case("end of input ends the dialogue", "1\n2\n", FIRST_LAST + "    1    2\n"),
    case("last line without end-of-line counts", "1\n2", FIRST_LAST + "    1    2\n"),
    case("empty input is a single 0", "", FIRST_LAST + "    0\n"),
]
