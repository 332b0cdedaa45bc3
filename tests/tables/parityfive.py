# parityfive: odd values at the tail, even at the head; then the first
# multiple of five from the front is removed. One row per way of unlinking.
from cases import FIRST_LAST, INT_PROMPT, case

AFTER = "Spisok after include\n"
NOT_FOUND = "Elemetnt not found\n"

# --draw: 1 read and made the first node, then 3 linked at the tail.
ONE = INT_PROMPT + """\
-- 1 read: node = a new node
  head,tail
  v
  NULL
  node -> [1]->NULL
-- the first node: head = tail = node
   head,node,tail
   v
  [1]->NULL
"""
ONE_THREE = ONE + """\
-- 3 read: node = a new node
   head,tail
   v
  [1]->NULL
  node -> [3]->NULL
-- 3 is odd, so at the tail: tail->next = node
   head,tail
   |    node
   v    v
  [1]->[3]->NULL
-- tail = node
   head
   |    node,tail
   v    v
  [1]->[3]->NULL
"""

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
-- 5 read: node = a new node
  head,tail
  v
  NULL
  node -> [5]->NULL
-- the first node: head = tail = node
   head,node,tail
   v
  [5]->NULL
-- 1 read: node = a new node
   head,tail
   v
  [5]->NULL
  node -> [1]->NULL
-- 1 is odd, so at the tail: tail->next = node
   head,tail
   |    node
   v    v
  [5]->[1]->NULL
-- tail = node
   head
   |    node,tail
   v    v
  [5]->[1]->NULL
inputed spisok first -> last
    5    1
-- the search: cursor = head
   head,cursor
   |    tail
   v    v
  [5]->[1]->NULL
-- 5 is a multiple of five: found = cursor
   head,cursor,found
   |    tail
   v    v
  [5]->[1]->NULL
-- found is the head: head = head->next
   head,tail
   v
  [1]->NULL
  found,cursor -> [5]->[1] unlinked
-- free(found): found and cursor now dangle
   head,tail
   v
  [1]->NULL
  found,cursor (dangling) -> [5] released
Spisok after include
    1
""", args=["--draw"]),
    case("--draw: found is the tail, after a walk to the node before it", "1\n3\n5\n\n",
         ONE_THREE + """\
-- 5 read: node = a new node
   head
   |    tail
   v    v
  [1]->[3]->NULL
  node -> [5]->NULL
-- 5 is odd, so at the tail: tail->next = node
        tail
   head |    node
   v    v    v
  [1]->[3]->[5]->NULL
-- tail = node
   head      node,tail
   v         v
  [1]->[3]->[5]->NULL
inputed spisok first -> last
    1    3    5
-- the search: cursor = head
   head,cursor
   |         tail
   v         v
  [1]->[3]->[5]->NULL
-- no multiple of five: cursor = cursor->next
        cursor
   head |    tail
   v    v    v
  [1]->[3]->[5]->NULL
-- no multiple of five: cursor = cursor->next
   head      cursor,tail
   v         v
  [1]->[3]->[5]->NULL
-- 5 is a multiple of five: found = cursor
   head      cursor,found,tail
   v         v
  [1]->[3]->[5]->NULL
-- found is the tail; to find the node before it, cursor = head
   head,cursor
   |         found,tail
   v         v
  [1]->[3]->[5]->NULL
-- cursor->next was not the tail: cursor = cursor->next
        cursor
   head |    found,tail
   v    v    v
  [1]->[3]->[5]->NULL
-- cursor->next = NULL: found is unlinked
   head
   |    cursor
   v    v
  [1]->[3]->NULL
  found,tail -> [5]->NULL unlinked
-- tail = cursor
   head
   |    cursor,tail
   v    v
  [1]->[3]->NULL
  found -> [5]->NULL unlinked
-- free(found): found now dangles
   head
   |    cursor,tail
   v    v
  [1]->[3]->NULL
  found (dangling) -> [5] released
Spisok after include
    1    3
""", args=["--draw"]),
    case("--draw: found is inside", "1\n15\n3\n\n",
         ONE + """\
-- 15 read: node = a new node
   head,tail
   v
  [1]->NULL
  node -> [15]->NULL
-- 15 is odd, so at the tail: tail->next = node
   head,tail
   |    node
   v    v
  [1]->[15]->NULL
-- tail = node
   head
   |    node,tail
   v    v
  [1]->[15]->NULL
-- 3 read: node = a new node
   head
   |    tail
   v    v
  [1]->[15]->NULL
  node -> [3]->NULL
-- 3 is odd, so at the tail: tail->next = node
   head
   |    tail  node
   v    v     v
  [1]->[15]->[3]->NULL
-- tail = node
   head       node,tail
   v          v
  [1]->[15]->[3]->NULL
inputed spisok first -> last
    1   15    3
-- the search: cursor = head
   head,cursor
   |          tail
   v          v
  [1]->[15]->[3]->NULL
-- no multiple of five: cursor = cursor->next
        cursor
   head |     tail
   v    v     v
  [1]->[15]->[3]->NULL
-- 15 is a multiple of five: found = cursor
        cursor,found
   head |     tail
   v    v     v
  [1]->[15]->[3]->NULL
-- found is inside; to find the node before it, cursor = head
   head,cursor
   |    found
   |    |     tail
   v    v     v
  [1]->[15]->[3]->NULL
-- cursor->next = found->next: found is unlinked
   head,cursor
   |    tail
   v    v
  [1]->[3]->NULL
  found -> [15]->[3] unlinked
-- free(found): found now dangles
   head,cursor
   |    tail
   v    v
  [1]->[3]->NULL
  found (dangling) -> [15] released
Spisok after include
    1    3
""", args=["--draw"]),
    case("--draw: the only node, head and tail become NULL", "0\n\n",
         INT_PROMPT + """\
-- 0 read: node = a new node
  head,tail
  v
  NULL
  node -> [0]->NULL
-- the first node: head = tail = node
   head,node,tail
   v
  [0]->NULL
inputed spisok first -> last
    0
-- the search: cursor = head
   head,cursor,tail
   v
  [0]->NULL
-- 0 is a multiple of five: found = cursor
   head,cursor,found,tail
   v
  [0]->NULL
-- found is the only node: head = tail = NULL
  head,tail
  v
  NULL
  found,cursor -> [0]->NULL unlinked
-- free(found): found and cursor now dangle
  head,tail
  v
  NULL
  found,cursor (dangling) -> [0] released
Spisok after include

""", args=["--draw"]),
    case("--draw: none found, cursor ends at NULL", "1\n3\n\n",
         ONE_THREE + """\
inputed spisok first -> last
    1    3
-- the search: cursor = head
   head,cursor
   |    tail
   v    v
  [1]->[3]->NULL
-- no multiple of five: cursor = cursor->next
   head
   |    cursor,tail
   v    v
  [1]->[3]->NULL
-- no multiple of five: cursor = cursor->next
        tail
   head |   cursor
   v    v   v
  [1]->[3]->NULL
-- cursor is NULL: no multiple of five
        tail
   head |   cursor
   v    v   v
  [1]->[3]->NULL
Elemetnt not found
Spisok after include
    1    3
""", args=["--draw"]),
    case("output lost: status 1 and the reason", "5\n\n", "", status=1,
         stderr="parityfive: write error: No space left on device\n", to_full=True),
]
