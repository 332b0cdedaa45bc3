# twoends: negatives pushed at the head, 0 and positives appended at the tail.
from cases import case, first_drawn, FIRST_LAST

DRAWN = first_drawn(1) + """\
-- node = newIntNode(toInt32(line)); // -2 was typed
   head,tail
   v
  [1]->NULL
  node -> [-2]=>NULL
-- node->next = head; // -2 is negative, so at the head
   head,tail
   v
  [1]->NULL
   ^
   =
  [-2] <- node
-- head = node; // node is the first node now
   head,node
   |     tail
   v     v
  [-2]->[1]->NULL
-- node = newIntNode(toInt32(line)); // 3 was typed
   head  tail
   v     v
  [-2]->[1]->NULL
  node -> [3]=>NULL
-- tail->next = node; // 3 is not negative, so at the tail
         tail
   head  |    node
   v     v    v
  [-2]->[1]=>[3]->NULL
-- tail = node; // node is the last node now
   head       node,tail
   v          v
  [-2]->[1]->[3]->NULL
inputed spisok first -> last
   -2    1    3
"""

CASES = [
    case("negatives in front, last typed leading", "-1\n2\n-3\n\n", FIRST_LAST + "   -3   -1    2\n"),
    case("negative after a positive first", "5\n-1\n\n", FIRST_LAST + "   -1    5\n"),
    case("0 is not negative", "1\n0\n\n", FIRST_LAST + "    1    0\n"),
    case("first value ends up last among negatives", "-1\n-2\n-3\n\n",
         FIRST_LAST + "   -3   -2   -1\n"),
    case("first value stays between the groups", "0\n-1\n3\n-2\n4\n\n",
         FIRST_LAST + "   -2   -1    0    3    4\n"),
    case("text reads as 0 and goes to the back", "-9\nx\n\n", FIRST_LAST + "   -9    0\n"),
    case("output lost: status 1 and the reason", "1\n\n", "", status=1,
         stderr="twoends: write error: No space left on device\n", to_full=True),
    case("--draw: why each value goes where it goes", "1\n-2\n3\n\n", DRAWN, args=["--draw"]),
    case("--step with no terminal draws as --draw", "1\n-2\n3\n\n", DRAWN, args=["--step"]),
]
