# lifolist: every value after the first pushed on top.
from cases import case, FIRST_LAST, INT_PROMPT

CASES = [
    case("top first", "1\n2\n3\n\n", FIRST_LAST + "    3    2    1\n"),
    case("single value", "42\n\n", FIRST_LAST + "   42\n"),
    case("empty first line is the bottom 0", "\n5\n-6\n\n", FIRST_LAST + "   -6    5    0\n"),
    case("end of input ends the dialogue", "1\n2", FIRST_LAST + "    2    1\n"),
    case("output lost: status 1 and the reason", "1\n\n", "", status=1,
         stderr="lifolist: write error: No space left on device\n", to_full=True),
    case("out of memory while pushing: status 1", "\n" + "-1\n" * 1_000_000, INT_PROMPT,
         status=1, stderr="lifolist: out of memory\n", vm_limit_kb=20_000),
    case("--draw: elided to fit 24 columns", "100\n-2\n3\n\n",
         INT_PROMPT + """\
-- IntNode* node =
-- newIntNode(toInt32(li
-- ne)); // 100 was
-- typed
  head,tail
  v
  NULL
  node -> [100]=>NULL
-- head = tail = node;
-- // the first node is
-- the whole list
   head,node,tail
   v
  [100]->NULL
-- node =
-- newIntNode(toInt32(li
-- ne)); // -2 was typed
   head,tail
   v
  [100]->NULL
  node -> [-2]=>NULL
-- node->next = head; //
-- -2 goes to the head
   head,tail
   v
  [100]->NULL
   ^
   =
  [-2] <- node
-- head = node; // node
-- is the first node now
   head,node
   |     tail
   v     v
  [-2]->[100]->NULL
-- node =
-- newIntNode(toInt32(li
-- ne)); // 3 was typed
   head  tail
   v     v
  [-2]->[100]->NULL
  node -> [3]=>NULL
-- node->next = head; //
-- 3 goes to the head
   head  tail
   v     v
  [-2]->[100]->NULL
   ^
   =
  [3] <- node
-- head = node; // node
-- is the first node now
   head,node  tail
   v          v
  [3]->[-2]->[100]->NULL
inputed spisok first -> last
    3   -2  100
""", args=["--draw"], columns=24),
    case("--draw below 20 columns: a value longer than the width is cut, nothing else", "-2147483648\n-2147483647\n\n",
         INT_PROMPT + """\
-- IntNode* node
-- =
-- newIntNode(to
-- Int32(line));
-- //
-- -2147483648
-- was typed
  head,tail
  v
  NULL
  node ->
    [-2147483648
    ]=>NULL
-- head = tail =
-- node; // the
-- first node is
-- the whole
-- list
   head,node,
   tail
   v
  [-2147483648]-
  NULL
-- node =
-- newIntNode(to
-- Int32(line));
-- //
-- -2147483647
-- was typed
   head,tail
   v
  [-2147483648]-
  NULL
  node ->
    [-2147483647
    ]=>NULL
-- node->next =
-- head; //
-- -2147483647
-- goes to the
-- head
   head,tail
   v
  [-2147483648]-
   ^
   =
  [-2147483647]
  <- node
  NULL
-- head = node;
-- // node is
-- the first
-- node now
   head,node
   v
  [-2147483647]-
   tail
   v
  [-2147483648]-
  NULL
inputed spisok first -> last
-2147483647-2147483648
""", args=["--draw"], columns=16),
]
