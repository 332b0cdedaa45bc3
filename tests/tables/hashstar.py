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
    case("output to a read-only terminal: status 1 and the real reason", "a*\n", "",
         status=1, stderr="hashstar: write error: Bad file descriptor\n", to_read_only_terminal=True),
    case("NUL at the start: one NUL node", "\x00*\n", char_run("\0", "\0")),
    case("NUL inside the line ends the list", "*a\x00*b\n", char_run("*a", "#*a")),
    case("--draw: a node that exactly fits is drawn, not elided", "aaaaa\n",
         CHAR_PROMPT + """\
-- // the line read, one node
-- per character
   head
   v
  [a]->[a]->[a]->[a]->[a]->NULL
Inputed spisok
 a a a a a
-- CharNode* cur = head; // the
-- walk starts at the head
   head,cur
   v
  [a]->[a]->[a]->[a]->[a]->NULL
-- CharNode* prev = cur; cur =
-- cur->next; // 'a' is not the
-- last node
   head,prev
   |    cur
   v    v
  [a]->[a]->[a]->[a]->[a]->NULL
-- CharNode* prev = cur; cur =
-- cur->next; // 'a' is not the
-- last node
        prev
   head |    cur
   v    v    v
  [a]->[a]->[a]->[a]->[a]->NULL
-- CharNode* prev = cur; cur =
-- cur->next; // 'a' is not the
-- last node
             prev
   head      |    cur
   v         v    v
  [a]->[a]->[a]->[a]->[a]->NULL
-- CharNode* prev = cur; cur =
-- cur->next; // 'a' is not the
-- last node
                  prev
   head           |    cur
   v              v    v
  [a]->[a]->[a]->[a]->[a]->NULL
NEW spisok
 a a a a a
""", args=["--draw"], columns=31),
    case("--draw: ~ drawn as itself", "~*\n", CHAR_PROMPT + """\
-- // the line read, one node per character
   head
   v
  [~]->[*]->NULL
Inputed spisok
 ~ *
-- CharNode* cur = head; // the walk starts at the head
   head,cur
   v
  [~]->[*]->NULL
-- CharNode* prev = cur; cur = cur->next; // '~' is not the last node
   head,prev
   |    cur
   v    v
  [~]->[*]->NULL
-- CharNode* node = newCharNode('#', cur); // cur is a '*'
   head,prev
   |    cur
   v    v
  [~]->[*]->NULL
        ^
        =
       [#] <- node
-- prev->next = node; // the '#' goes before the '*'
   head,prev
   |    node
   |    |    cur
   v    v    v
  [~]=>[#]->[*]->NULL
NEW spisok
 ~ # *
""", args=["--draw"]),
    case("--draw: bytes past ~ escaped", "\x7f\xe9\n",
         CHAR_PROMPT + """\
-- // the line read, one node per character
   head
   v
  [\\x7f]->[\\xe9]->NULL
Inputed spisok
 \x7f \xe9
-- CharNode* cur = head; // the walk starts at the head
   head,cur
   v
  [\\x7f]->[\\xe9]->NULL
-- CharNode* prev = cur; cur = cur->next; // '\\x7f' is not the last node
   head,prev
   |       cur
   v       v
  [\\x7f]->[\\xe9]->NULL
NEW spisok
 \x7f \xe9
""", args=["--draw"]),
    case("--draw at 22 columns: a leading, then two stars in a row", "*a**\n",
         CHAR_PROMPT + """\
-- // the line read,
-- one node per
-- character
   head
   v
  [*]->[a]->[*]->
  [*]->NULL
Inputed spisok
 * a * *
-- CharNode* cur =
-- head; // the walk
-- starts at the head
   head,cur
   v
  [*]->[a]->[*]->
  [*]->NULL
-- CharNode* node =
-- newCharNode('#',
-- head); // the head
-- is a '*'
   head,cur
   v
  [*]->[a]->[*]->
   ^
   =
  [#] <- node
  [*]->NULL
-- head = node; // the
-- '#' comes first
   head,node
   |    cur
   v    v
  [#]->[*]->[a]->[*]->
  [*]->NULL
-- CharNode* prev =
-- cur; cur =
-- cur->next; // '*'
-- is not the last
-- node
        prev
   head |    cur
   v    v    v
  [#]->[*]->[a]->[*]->
  [*]->NULL
-- CharNode* prev =
-- cur; cur =
-- cur->next; // 'a'
-- is not the last
-- node
             prev
   head      |    cur
   v         v    v
  [#]->[*]->[a]->[*]->
  [*]->NULL
-- CharNode* node =
-- newCharNode('#',
-- cur); // cur is a
-- '*'
             prev
   head      |    cur
   v         v    v
  [#]->[*]->[a]->[*]->
                  ^
                  =
         node -> [#]
  [*]->NULL
-- prev->next = node;
-- // the '#' goes
-- before the '*'
             prev
   head      |    node
   v         v    v
  [#]->[*]->[a]=>[#]->
   cur
   v
  [*]->[*]->NULL
-- CharNode* prev =
-- cur; cur =
-- cur->next; // '*'
-- is not the last
-- node
   head
   v
  [#]->[*]->...2->
   prev
   |    cur
   v    v
  [*]->[*]->NULL
-- CharNode* node =
-- newCharNode('#',
-- cur); // cur is a
-- '*'
   head
   v
  [#]->[*]->...2->
   prev
   |    cur
   v    v
  [*]->[*]->NULL
        ^
        =
       [#] <- node
-- prev->next = node;
-- // the '#' goes
-- before the '*'
   head
   v
  [#]->[*]->...2->
        node
   prev |    cur
   v    v    v
  [*]=>[#]->[*]->NULL
NEW spisok
 # * a # * # *
""", args=["--draw"], columns=22),
]
