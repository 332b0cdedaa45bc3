# parityfive: odd values at the tail, even at the head; then the first
# multiple of five from the front is removed. One row per way of unlinking.
from cases import case, first_drawn, FIRST_LAST

AFTER = "Spisok after include\n"
NOT_FOUND = "Elemetnt not found\n"

# --draw: 1 read and made the first node, then 3 linked at the tail.
ONE_THREE = first_drawn(1) + """\
-- node = newIntNode(toInt32(line)); // 3 was typed
   head,tail
   v
  [1]->NULL
  node -> [3]=>NULL
-- tail->next = node; // 3 is odd, so at the tail
   head,tail
   |    node
   v    v
  [1]=>[3]->NULL
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
         first_drawn(5) + """\
-- node = newIntNode(toInt32(line)); // 1 was typed
   head,tail
   v
  [5]->NULL
  node -> [1]=>NULL
-- tail->next = node; // 1 is odd, so at the tail
   head,tail
   |    node
   v    v
  [5]=>[1]->NULL
-- tail = node; // node is the last node now
   head
   |    node,tail
   v    v
  [5]->[1]->NULL
inputed spisok first -> last
    5    1
-- cursor = head; // the search starts at the head
   head,cursor
   |    tail
   v    v
  [5]->[1]->NULL
-- found = cursor; isFound = true; // 5 is a multiple of five
   head,cursor,found
   |    tail
   v    v
  [5]->[1]->NULL
-- head = head->next; // found is the head
   head,tail
   v
  [1]->NULL
   ^
   |
  [5] <- found,cursor unlinked
-- std::free(found); // found and cursor now dangle
   head,tail
   v
  [1]->NULL
  cursor,found (dangling) -> [5] released
Spisok after include
    1
""", args=["--draw"]),
    case("--draw: found is the tail, after a walk to the node before it", "1\n3\n5\n\n",
         ONE_THREE + """\
-- tail = node; // node is the last node now
   head
   |    node,tail
   v    v
  [1]->[3]->NULL
-- node = newIntNode(toInt32(line)); // 5 was typed
   head
   |    tail
   v    v
  [1]->[3]->NULL
  node -> [5]=>NULL
-- tail->next = node; // 5 is odd, so at the tail
        tail
   head |    node
   v    v    v
  [1]->[3]=>[5]->NULL
-- tail = node; // node is the last node now
   head      node,tail
   v         v
  [1]->[3]->[5]->NULL
inputed spisok first -> last
    1    3    5
-- cursor = head; // the search starts at the head
   head,cursor
   |         tail
   v         v
  [1]->[3]->[5]->NULL
-- cursor = cursor->next; // 1 is not a multiple of five
        cursor
   head |    tail
   v    v    v
  [1]->[3]->[5]->NULL
-- cursor = cursor->next; // 3 is not a multiple of five
   head      cursor,tail
   v         v
  [1]->[3]->[5]->NULL
-- found = cursor; isFound = true; // 5 is a multiple of five
   head      cursor,found,tail
   v         v
  [1]->[3]->[5]->NULL
-- cursor = head; // found is the tail: a walk to the node before it
   head,cursor
   |         found,tail
   v         v
  [1]->[3]->[5]->NULL
-- cursor = cursor->next; // the node after 1 is not the tail
        cursor
   head |    found,tail
   v    v    v
  [1]->[3]->[5]->NULL
-- cursor->next = nullptr; // cursor is the node before the tail
   head
   |    cursor
   v    v
  [1]->[3]=>NULL
  found,tail -> [5]->NULL unlinked
-- tail = cursor; // cursor is the last node now
   head
   |    cursor,tail
   v    v
  [1]->[3]->NULL
  found -> [5]->NULL unlinked
-- std::free(found); // found now dangles
   head
   |    cursor,tail
   v    v
  [1]->[3]->NULL
  found (dangling) -> [5] released
Spisok after include
    1    3
""", args=["--draw"]),
    case("--draw: found is inside, after a walk to it", "1\n2\n15\n9\n\n",
         first_drawn(1) + """\
-- node = newIntNode(toInt32(line)); // 2 was typed
   head,tail
   v
  [1]->NULL
  node -> [2]=>NULL
-- node->next = head; // 2 is even, so at the head
   head,tail
   v
  [1]->NULL
   ^
   =
  [2] <- node
-- head = node; // node is the first node now
   head,node
   |    tail
   v    v
  [2]->[1]->NULL
-- node = newIntNode(toInt32(line)); // 15 was typed
   head
   |    tail
   v    v
  [2]->[1]->NULL
  node -> [15]=>NULL
-- tail->next = node; // 15 is odd, so at the tail
        tail
   head |    node
   v    v    v
  [2]->[1]=>[15]->NULL
-- tail = node; // node is the last node now
   head      node,tail
   v         v
  [2]->[1]->[15]->NULL
-- node = newIntNode(toInt32(line)); // 9 was typed
   head      tail
   v         v
  [2]->[1]->[15]->NULL
  node -> [9]=>NULL
-- tail->next = node; // 9 is odd, so at the tail
   head      tail  node
   v         v     v
  [2]->[1]->[15]=>[9]->NULL
-- tail = node; // node is the last node now
   head            node,tail
   v               v
  [2]->[1]->[15]->[9]->NULL
inputed spisok first -> last
    2    1   15    9
-- cursor = head; // the search starts at the head
   head,cursor     tail
   v               v
  [2]->[1]->[15]->[9]->NULL
-- cursor = cursor->next; // 2 is not a multiple of five
   head
   |    cursor     tail
   v    v          v
  [2]->[1]->[15]->[9]->NULL
-- cursor = cursor->next; // 1 is not a multiple of five
             cursor
   head      |     tail
   v         v     v
  [2]->[1]->[15]->[9]->NULL
-- found = cursor; isFound = true; // 15 is a multiple of five
             cursor,found
   head      |     tail
   v         v     v
  [2]->[1]->[15]->[9]->NULL
-- cursor = head; // found is inside: a walk to the node before it
   head,cursor
   |         found
   |         |     tail
   v         v     v
  [2]->[1]->[15]->[9]->NULL
-- cursor = cursor->next; // the node after 2 is not found
        cursor
        |    found
   head |    |     tail
   v    v    v     v
  [2]->[1]->[15]->[9]->NULL
-- cursor->next = found->next; // cursor is the node before found
        cursor
   head |    tail
   v    v    v
  [2]->[1]=>[9]->NULL
             ^
             |
            [15] <- found unlinked
-- std::free(found); // found now dangles
        cursor
   head |    tail
   v    v    v
  [2]->[1]->[9]->NULL
  found (dangling) -> [15] released
Spisok after include
    2    1    9
""", args=["--draw"]),
    case("--draw: the only node, head and tail become NULL", "0\n\n",
         first_drawn(0) + """\
inputed spisok first -> last
    0
-- cursor = head; // the search starts at the head
   head,cursor,tail
   v
  [0]->NULL
-- found = cursor; isFound = true; // 0 is a multiple of five
   head,cursor,found,tail
   v
  [0]->NULL
-- head = tail = nullptr; // found is the only node
  head,tail
  v
  NULL
  found,cursor -> [0]->NULL unlinked
-- std::free(found); // found and cursor now dangle
  head,tail
  v
  NULL
  cursor,found (dangling) -> [0] released
Spisok after include

""", args=["--draw"]),
    case("--draw: none found, cursor ends at NULL", "1\n3\n\n",
         ONE_THREE + """\
-- tail = node; // node is the last node now
   head
   |    node,tail
   v    v
  [1]->[3]->NULL
inputed spisok first -> last
    1    3
-- cursor = head; // the search starts at the head
   head,cursor
   |    tail
   v    v
  [1]->[3]->NULL
-- cursor = cursor->next; // 1 is not a multiple of five
   head
   |    cursor,tail
   v    v
  [1]->[3]->NULL
-- cursor = cursor->next; // 3 is not a multiple of five
        tail
   head |   cursor
   v    v   v
  [1]->[3]->NULL
-- // cursor is NULL: no value is a multiple of five
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
