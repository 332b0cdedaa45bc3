# hashstar: '#' before every '*'. Also carries the cases of the shared line
# reading (length limit, CRLF, end of input, any byte), which thirdcull's
# table does not repeat.
from cases import CHAR_PROMPT, case, char_run

CASES = [
    case("star inside, exact bytes", "a*b\n",
         CHAR_PROMPT + "Inputed spisok\n a * b\nNEW spisok\n a # * b\n", released=0),
    case("leading star makes a new head", "*a\n", char_run("*a", "#*a")),
    case("two stars", "**\n", char_run("**", "#*#*")),
    case("run of stars at the end", "a**\n", char_run("a**", "a#*#*")),
    case("no star: same list", "abc\n", char_run("abc", "abc")),
    case("star alone", "*\n", char_run("*", "#*")),
    case("stars at both ends", "*a*\n", char_run("*a*", "#*a#*")),
    case("runs at both ends and inside", "***x**\n", char_run("***x**", "#*#*#*x#*#*")),
    case("39 stars: all kept, 78 nodes", "*" * 39 + "\n", char_run("*" * 39, "#*" * 39), released=0),
    case("40 characters: the 40th is thrown away", "a" * 39 + "*\n", char_run("a" * 39, "a" * 39)),
    case("5000 characters: one line only", "*" * 5000 + "\nb\n", char_run("*" * 39, "#*" * 39)),
    case("spaces and tabs are characters", "a *\t\n", char_run("a *\t", "a #*\t")),
    case("bytes above 127", "\xe9*\xff\n", char_run("\xe9*\xff", "\xe9#*\xff")),
    case("empty line: one NUL node", "\n", char_run("\0", "\0")),
    case("empty input: one NUL node", "", char_run("\0", "\0")),
    case("CRLF line end", "a*\r\n", char_run("a*", "a#*")),
    case("CR inside the line is a character", "a\r*\n", char_run("a\r*", "a\r#*")),
    case("last line without end-of-line", "*b", char_run("*b", "#*b")),
    case("only the first line is read", "a\n*\n", char_run("a", "a")),
    case("read error inside the line: no listing", "a*b", CHAR_PROMPT, status=1,
         stderr="hashstar: read error: Resource temporarily unavailable\n",
         stdin_is="nonblocking"),
    case("output lost: status 1 and the reason", "*\n", "", status=1,
         stderr="hashstar: write error: No space left on device\n", to_full=True),
    case("NUL at the start: one NUL node", "\x00*\n", char_run("\0", "\0")),
    case("NUL inside the line ends the list", "*a\x00*b\n", char_run("*a", "#*a")),
    case("--draw past 256 columns: 256 of them, to NULL; bytes past ~ escaped",
         "a\x7f" * 19 + "\xe9\n",
         CHAR_PROMPT + "-- the line as a list: one node per character\n   head\n   v\n  "
         + "->".join(["[a]->[\\x7f]"] * 18 + ["...", "[\\xe9]", "NULL\n"])
         + char_run("a\x7f" * 19 + "\xe9", "a\x7f" * 19 + "\xe9")[len(CHAR_PROMPT):],
         args=["--draw"], columns=300),
    case("--draw at 22 columns: a leading, then two stars in a row", "*a**\n",
         CHAR_PROMPT + """\
-- the line as a list:
-- one node per
-- character
   head
   v
  [*]->...->[*]->NULL
Inputed spisok
 * a * *
-- a leading '*': a
-- new '#' node before
-- it becomes head
   head cur
   v    v
  [#]->[*]->...->[*]->
-- cur is a '*':
-- prev->next = a new
-- '#' node, whose
-- next is cur
             prev
   head     prev->next
   v         v    v
  [#]->...->[a]->[#]->
  cur -> [*]
-- cur is a '*':
-- prev->next = a new
-- '#' node, whose
-- next is cur
             prev
   head     prev->next
   v         v    v
  [#]->...->[*]->[#]->
  cur -> [*]
NEW spisok
 # * a # * # *
""",
         args=["--draw"], columns=22),
]
