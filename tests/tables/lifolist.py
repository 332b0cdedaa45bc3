# lifolist: every value after the first pushed on top.
from cases import FIRST_LAST, case

CASES = [
    case("top first", "1\n2\n3\n\n", FIRST_LAST + "    3    2    1\n"),
    case("single value", "42\n\n", FIRST_LAST + "   42\n"),
    case("empty first line is the bottom 0", "\n5\n-6\n\n", FIRST_LAST + "   -6    5    0\n"),
    case("end of input ends the dialogue", "1\n2", FIRST_LAST + "    2    1\n"),
]
