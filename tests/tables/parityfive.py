# parityfive: odd values at the tail, even at the head; then the first
# multiple of five from the front is removed. One row per way of unlinking.
from cases import FIRST_LAST, INT_PROMPT, case

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
    case("--draw: found is the head", "5\n1\n\n",
         INT_PROMPT + """\
-- 5 is the first node: head and tail point at it
   head,tail
   v
  [5]->NULL
-- 1 is odd, so at the tail: tail->next = node, tail = node
   head node,tail
   v    v
  [5]->[1]->NULL
inputed spisok first -> last
    5    1
-- 5 is a multiple of five: found = cursor
   head,cursor,found
   |    tail
   v    v
  [5]->[1]->NULL
-- found is the head: head moves to the next node
   head,tail
   v
  [1]->NULL
  found -> [5] unlinked
-- free(found)
   head,tail
   v
  [1]->NULL
  found -> [5] released
Spisok after include
    1
""",
         args=["--draw"]),
    case("--draw: found is the tail, after a walk to the node before it", "1\n3\n5\n\n",
         INT_PROMPT + """\
-- 1 is the first node: head and tail point at it
   head,tail
   v
  [1]->NULL
-- 3 is odd, so at the tail: tail->next = node, tail = node
   head node,tail
   v    v
  [1]->[3]->NULL
-- 5 is odd, so at the tail: tail->next = node, tail = node
   head      node,tail
   v         v
  [1]->[3]->[5]->NULL
inputed spisok first -> last
    1    3    5
-- 1 is no multiple of five: cursor moves on
   head,cursor
   |         tail
   v         v
  [1]->[3]->[5]->NULL
-- 3 is no multiple of five: cursor moves on
        cursor
   head |    tail
   v    v    v
  [1]->[3]->[5]->NULL
-- 5 is a multiple of five: found = cursor
   head      cursor,found,tail
   v         v
  [1]->[3]->[5]->NULL
-- found is the tail: cursor walks to the node before it
   head,cursor
   |         found,tail
   v         v
  [1]->[3]->[5]->NULL
-- cursor->next = NULL, tail = cursor: found is unlinked
   head cursor,tail
   v    v
  [1]->[3]->NULL
  found -> [5] unlinked
-- free(found)
   head tail
   v    v
  [1]->[3]->NULL
  found -> [5] released
Spisok after include
    1    3
""",
         args=["--draw"]),
    case("--draw: found is inside", "1\n15\n3\n\n",
         INT_PROMPT + """\
-- 1 is the first node: head and tail point at it
   head,tail
   v
  [1]->NULL
-- 15 is odd, so at the tail: tail->next = node, tail = node
   head node,tail
   v    v
  [1]->[15]->NULL
-- 3 is odd, so at the tail: tail->next = node, tail = node
   head       node,tail
   v          v
  [1]->[15]->[3]->NULL
inputed spisok first -> last
    1   15    3
-- 1 is no multiple of five: cursor moves on
   head,cursor
   |          tail
   v          v
  [1]->[15]->[3]->NULL
-- 15 is a multiple of five: found = cursor
        cursor,found
   head |     tail
   v    v     v
  [1]->[15]->[3]->NULL
-- cursor->next = found->next: found is unlinked
   head,cursor
   |    tail
   v    v
  [1]->[3]->NULL
  found -> [15] unlinked
-- free(found)
   head tail
   v    v
  [1]->[3]->NULL
  found -> [15] released
Spisok after include
    1    3
""",
         args=["--draw"]),
    case("--draw: the only node, head and tail become NULL", "0\n\n",
         INT_PROMPT + """\
-- 0 is the first node: head and tail point at it
   head,tail
   v
  [0]->NULL
inputed spisok first -> last
    0
-- 0 is a multiple of five: found = cursor
   head,cursor,found,tail
   v
  [0]->NULL
-- found is the only node: head and tail become NULL
  head,tail
  v
  NULL
  found -> [0] unlinked
-- free(found)
  head,tail
  v
  NULL
  found -> [0] released
Spisok after include

""",
         args=["--draw"]),
    case("--draw: none found, cursor ends at NULL", "1\n3\n\n",
         INT_PROMPT + """\
-- 1 is the first node: head and tail point at it
   head,tail
   v
  [1]->NULL
-- 3 is odd, so at the tail: tail->next = node, tail = node
   head node,tail
   v    v
  [1]->[3]->NULL
inputed spisok first -> last
    1    3
-- 1 is no multiple of five: cursor moves on
   head,cursor
   |    tail
   v    v
  [1]->[3]->NULL
-- 3 is no multiple of five: cursor moves on
   head cursor,tail
   v    v
  [1]->[3]->NULL
-- cursor is NULL: no multiple of five
        tail
   head |   cursor
   v    v   v
  [1]->[3]->NULL
""" + NOT_FOUND + AFTER + "    1    3\n", args=["--draw"]),
    case("output lost: status 1 and the reason", "5\n\n", "", status=1,
         stderr="parityfive: write error: No space left on device\n", to_full=True),
]
