# thirdcull: the nodes at positions 3, 6, 9, ... of the list as read go.
from cases import CHAR_PROMPT, case, char_run

DIGITS39 = "0123456789" * 3 + "012345678"

CASES = [
    case("seven characters, exact bytes", "abcdefg\n",
         CHAR_PROMPT + "Inputed spisok\n a b c d e f g\nNEW spisok\n a b d e g\n", released=2),
    case("nine: the last node goes", "abcdefghi\n", char_run("abcdefghi", "abdegh"), released=3),
    case("fewer than three: unchanged", "ab\n", char_run("ab", "ab"), released=0),
    case("three", "abc\n", char_run("abc", "ab"), released=1),
    case("six: the list ends at the fifth", "abcdef\n", char_run("abcdef", "abde"), released=2),
    case("one character", "a\n", char_run("a", "a")),
    case("empty line: the NUL node stays", "\n", char_run("\0", "\0"), released=0),
    case("length not a multiple of three", "abcde\n", char_run("abcde", "abde")),
    case("spaces count as positions", "a b c d\n", char_run("a b c d", "a  cd")),
    case("39 characters", DIGITS39 + "\n",
         char_run(DIGITS39, "01346790235689124578013467"), released=13),
    case("40 characters: the 40th is thrown away", DIGITS39 + "9\n",
         char_run(DIGITS39, "01346790235689124578013467")),
    case("stars are nothing special", "***\n", char_run("***", "**")),
    case("read error: standard input is a directory", "", CHAR_PROMPT, status=1,
         stderr="thirdcull: read error: Is a directory\n", stdin_is="directory"),
    case("--version; nothing read", "", "thirdcull (listprograms) 1.0.0\n", args=["--version"],
         stdin_is="closed"),
    case("output lost: status 1 and the reason", "*\n", "", status=1,
         stderr="thirdcull: write error: No space left on device\n", to_full=True),
    case("--draw: too short for a removal", "ab\n",
         CHAR_PROMPT + """\
-- // the line read, one node per character
   head
   v
  [a]->[b]->NULL
Inputed spisok
 a b
-- CharNode* prev = head; // the walk starts at the head
   head,prev
   v
  [a]->[b]->NULL
-- CharNode* cur = head; // prev trails cur
   head,prev,cur
   v
  [a]->[b]->NULL
-- prev = cur; cur = cur->next; // 'a' is at position 1, not a multiple of three
   head,prev
   |    cur
   v    v
  [a]->[b]->NULL
-- prev = cur; cur = cur->next; // 'b' is at position 2, not a multiple of three
        prev
   head |   cur
   v    v   v
  [a]->[b]->NULL
NEW spisok
 a b
""", args=["--draw"]),
    case("--draw at 22 columns: a space node is never split", "ab \n", CHAR_PROMPT + """\
-- // the line read,
-- one node per
-- character
   head
   v
  [a]->[b]->
  [' ']->NULL
Inputed spisok
 a b  
-- CharNode* prev =
-- head; // the walk
-- starts at the head
   head,prev
   v
  [a]->[b]->
  [' ']->NULL
-- CharNode* cur =
-- head; // prev
-- trails cur
   head,prev,cur
   v
  [a]->[b]->
  [' ']->NULL
-- prev = cur; cur =
-- cur->next; // 'a'
-- is at position 1,
-- not a multiple of
-- three
   head,prev
   |    cur
   v    v
  [a]->[b]->
  [' ']->NULL
-- prev = cur; cur =
-- cur->next; // 'b'
-- is at position 2,
-- not a multiple of
-- three
   head
   |    prev
   v    v
  [a]->[b]->
   cur
   v
  [' ']->NULL
-- prev->next =
-- cur->next; // ' '
-- is at position 3, a
-- multiple of three
   head
   |    prev
   v    v
  [a]->[b]=>NULL
  cur -> [' ']->NULL
    unlinked
-- std::free(cur); //
-- cur now dangles
   head
   |    prev
   v    v
  [a]->[b]->NULL
  cur (dangling) ->
    [' '] released
-- cur = prev->next;
-- // prev stays
        prev
   head |   cur
   v    v   v
  [a]->[b]->NULL
NEW spisok
 a b
""", args=["--draw"], columns=22),
    case("--draw: the empty line's NUL node", "\n",
         CHAR_PROMPT + """\
-- // the line read, one node per character
   head
   v
  [\\0]->NULL
Inputed spisok
 \x00
-- CharNode* prev = head; // the walk starts at the head
   head,prev
   v
  [\\0]->NULL
-- CharNode* cur = head; // prev trails cur
   head,prev,cur
   v
  [\\0]->NULL
-- prev = cur; cur = cur->next; // '\\0' is at position 1, not a multiple of
-- three
   head,prev
   |    cur
   v    v
  [\\0]->NULL
NEW spisok
 \x00
""", args=["--draw"]),
    case("--draw: unprintable characters, elided at 40 columns", "a\tb c\x1b\\xyz\n",
         CHAR_PROMPT + """\
-- // the line read, one node per
-- character
   head
   v
  [a]->[\\x09]->[b]->...6------>[z]->NULL
Inputed spisok
 a \x09 b   c \x1b \\ x y z
-- CharNode* prev = head; // the walk
-- starts at the head
   head,prev
   v
  [a]->[\\x09]->[b]->...6------>[z]->NULL
-- CharNode* cur = head; // prev trails
-- cur
   head,prev,cur
   v
  [a]->[\\x09]->[b]->...6------>[z]->NULL
-- prev = cur; cur = cur->next; // 'a'
-- is at position 1, not a multiple of
-- three
   head,prev
   |    cur
   v    v
  [a]->[\\x09]->[b]->...6------>[z]->NULL
-- prev = cur; cur = cur->next; //
-- '\\x09' is at position 2, not a
-- multiple of three
   head
   |    prev    cur
   v    v       v
  [a]->[\\x09]->[b]->[' ']->...5->
  [z]->NULL
-- prev->next = cur->next; // 'b' is at
-- position 3, a multiple of three
   head
   |    prev
   v    v
  [a]->[\\x09]=>[' ']->...5---->[z]->NULL
                ^
                |
               [b] <- cur unlinked
-- std::free(cur); // cur now dangles
   head
   |    prev
   v    v
  [a]->[\\x09]->[' ']->...5---->[z]->NULL
  cur (dangling) -> [b] released
-- cur = prev->next; // prev stays
   head
   |    prev    cur
   v    v       v
  [a]->[\\x09]->[' ']->[c]->...4->
  [z]->NULL
-- prev = cur; cur = cur->next; // ' '
-- is at position 4, not a multiple of
-- three
   head         prev   cur
   v            v      v
  [a]->[\\x09]->[' ']->[c]->[\\x1b]->
  ...3->[z]->NULL
-- prev = cur; cur = cur->next; // 'c'
-- is at position 5, not a multiple of
-- three
                       prev
   head                |    cur
   v                   v    v
  [a]->[\\x09]->[' ']->[c]->[\\x1b]->
  [\\\\]->...2->[z]->NULL
-- prev->next = cur->next; // '\\x1b' is
-- at position 6, a multiple of three
   head                prev
   v                   v
  [a]->[\\x09]->[' ']->[c]=>[\\\\]->...2->
                            ^
                            |
           cur unlinked -> [\\x1b]
  [z]->NULL
-- std::free(cur); // cur now dangles
   head                prev
   v                   v
  [a]->[\\x09]->[' ']->[c]->[\\\\]->...2->
  [z]->NULL
  cur (dangling) -> [\\x1b] released
-- cur = prev->next; // prev stays
                       prev
   head                |    cur
   v                   v    v
  [a]->[\\x09]->[' ']->[c]->[\\\\]->[x]->
  [y]->[z]->NULL
-- prev = cur; cur = cur->next; // '\\\\'
-- is at position 7, not a multiple of
-- three
   head               prev  cur
   v                  v     v
  [a]->[\\x09]->...2->[\\\\]->[x]->[y]->
  [z]->NULL
-- prev = cur; cur = cur->next; // 'x'
-- is at position 8, not a multiple of
-- three
                      prev
   head               |    cur
   v                  v    v
  [a]->[\\x09]->...3->[x]->[y]->[z]->NULL
-- prev->next = cur->next; // 'y' is at
-- position 9, a multiple of three
   head                    prev
   v                       v
  [a]->[\\x09]->...3------>[x]=>[z]->NULL
                                ^
                                |
               cur unlinked -> [y]
-- std::free(cur); // cur now dangles
   head                    prev
   v                       v
  [a]->[\\x09]->...3------>[x]->[z]->NULL
  cur (dangling) -> [y] released
-- cur = prev->next; // prev stays
                           prev
   head                    |    cur
   v                       v    v
  [a]->[\\x09]->...3------>[x]->[z]->NULL
-- prev = cur; cur = cur->next; // 'z'
-- is at position 10, not a multiple of
-- three
                                prev
   head                         |   cur
   v                            v   v
  [a]->[\\x09]->[' ']->...3---->[z]->NULL
NEW spisok
 a \x09   c \\ x z
""", args=["--draw"], columns=40),
]
