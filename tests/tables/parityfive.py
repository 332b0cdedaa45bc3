# parityfive: odd values at the tail, even at the head; then the first
# multiple of five from the front is removed. One row per way of unlinking.
from cases import FIRST_LAST, case

AFTER = "Spisok after include\n"
NOT_FOUND = "Elemetnt not found\n"

CASES = [
    case("head removed", "3\n4\n10\n7\n\n",
         FIRST_LAST + "   10    4    3    7\n" + AFTER + "    4    3    7\n", released=1),
    case("tail removed", "1\n3\n5\n\n", FIRST_LAST + "    1    3    5\n" + AFTER + "    1    3\n", released=1),
    case("middle removed", "1\n2\n15\n9\n\n",
         FIRST_LAST + "    2    1   15    9\n" + AFTER + "    2    1    9\n", released=1),
    case("none found", "1\n2\n3\n\n",
         FIRST_LAST + "    2    1    3\n" + NOT_FOUND + AFTER + "    2    1    3\n", released=0),
    case("only node removed: empty list", "0\n\n", FIRST_LAST + "    0\n" + AFTER + "\n", released=1),
    case("negative even multiple at the head", "7\n-10\n\n",
         FIRST_LAST + "  -10    7\n" + AFTER + "    7\n"),
    case("only the first multiple from the front", "5\n10\n\n",
         FIRST_LAST + "   10    5\n" + AFTER + "    5\n", released=1),
    case("negative odd multiple at the tail", "1\n-15\n\n",
         FIRST_LAST + "    1  -15\n" + AFTER + "    1\n"),
    case("tail removed, then the list ends at the new tail", "1\n5\n2\n\n",
         FIRST_LAST + "    2    1    5\n" + AFTER + "    2    1\n"),
    case("first value is placed whatever its parity", "2\n1\n4\n\n",
         FIRST_LAST + "    4    2    1\n" + NOT_FOUND + AFTER + "    4    2    1\n"),
    case("empty first line is 0, a multiple of five", "\n3\n\n",
         FIRST_LAST + "    0    3\n" + AFTER + "    3\n"),
    case("negative odd values are odd", "-3\n-7\n\n",
         FIRST_LAST + "   -3   -7\n" + NOT_FOUND + AFTER + "   -3   -7\n", released=0),
    case("output lost: status 1 and the reason", "5\n\n", "", status=1,
         stderr="parityfive: write error: No space left on device\n", to_full=True),
]
