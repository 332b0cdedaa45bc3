# posremove: input order, then the node at position k is removed. k 1 and 2
# take their own paths ("NEW spisok"), 3 and on the walk ("new spisok"); a
# position past the end is reported with no listing and no end-of-line.
from cases import case, first_drawn, INT_PROMPT

LIST = "10\n20\n30\n40\n\n"
SHOWN = INT_PROMPT + "inputed spisok\n   10   20   30   40\ninput nomber of find elem\n"


def after(values):
    return INT_PROMPT + "inputed spisok\n" + values + "input nomber of find elem\n"


# --draw: the dialogue's drawings for 10 and 20; then for 30 and 40, and the
# list as read.
TEN_TWENTY = first_drawn(10) + """\
-- node = newIntNode(toInt32(line)); // 20 was typed
   head,tail
   v
  [10]->NULL
  node -> [20]=>NULL
-- tail->next = node; // 20 goes to the tail
   head,tail
   |     node
   v     v
  [10]=>[20]->NULL
-- tail = node; // node is the last node now
   head  node,tail
   v     v
  [10]->[20]->NULL
"""
DRAWN = TEN_TWENTY + """\
-- node = newIntNode(toInt32(line)); // 30 was typed
   head  tail
   v     v
  [10]->[20]->NULL
  node -> [30]=>NULL
-- tail->next = node; // 30 goes to the tail
   head  tail  node
   v     v     v
  [10]->[20]=>[30]->NULL
-- tail = node; // node is the last node now
   head        node,tail
   v           v
  [10]->[20]->[30]->NULL
-- node = newIntNode(toInt32(line)); // 40 was typed
   head        tail
   v           v
  [10]->[20]->[30]->NULL
  node -> [40]=>NULL
-- tail->next = node; // 40 goes to the tail
   head        tail  node
   v           v     v
  [10]->[20]->[30]=>[40]->NULL
-- tail = node; // node is the last node now
   head              node,tail
   v                 v
  [10]->[20]->[30]->[40]->NULL
inputed spisok
   10   20   30   40
input nomber of find elem
"""


# The walk to position 3 (steps 1) or 4 (steps 2) for k, after the list's drawing.
WALK = ["""\
-- previous = head; // k is {}: a walk from the head
   head,previous     tail
   v                 v
  [10]->[20]->[30]->[40]->NULL
-- current = head->next; // current is at position 2
   head,previous
   |     current     tail
   v     v           v
  [10]->[20]->[30]->[40]->NULL
""", """\
-- previous = current; current = current->next; ++position; // 20 is at position
-- 2, before k
         previous
         |     current
   head  |     |     tail
   v     v     v     v
  [10]->[20]->[30]->[40]->NULL
""", """\
-- previous = current; current = current->next; ++position; // 30 is at position
-- 3, before k
               previous
   head        |     current,tail
   v           v     v
  [10]->[20]->[30]->[40]->NULL
"""]


def walk(k, steps):
    return DRAWN + WALK[0].format(k) + "".join(WALK[1:1 + steps])


CASES = [
    case("k 1: head", LIST + "1\n", SHOWN + "NEW spisok\n   20   30   40\n", released=1),
    case("k 2: second", LIST + "2\n", SHOWN + "NEW spisok\n   10   30   40\n", released=1),
    case("k 3: walk", LIST + "3\n", SHOWN + "new spisok\n   10   20   40\n", released=1),
    case("k 4: last", LIST + "4\n", SHOWN + "new spisok\n   10   20   30\n", released=1),
    case("k 5: past the end", LIST + "5\n", SHOWN + "element     5 apsent", released=0),
    case("k 100: far past the end", LIST + "100\n", SHOWN + "element   100 apsent"),
    case("k 0: nothing removed", LIST + "0\n", SHOWN + "NEW spisok\n   10   20   30   40\n", released=0),
    case("k -3: nothing removed", LIST + "-3\n", SHOWN + "NEW spisok\n   10   20   30   40\n"),
    case("one element, k 1: empty list", "10\n\n1\n", after("   10\n") + "NEW spisok\n\n", released=1),
    case("one element, k 2: past the end", "10\n\n2\n", after("   10\n") + "element     2 apsent", released=0),
    case("one element, k 3: past the end", "10\n\n3\n", after("   10\n") + "element     3 apsent"),
    case("two elements, k 2: last", "10\n20\n\n2\n", after("   10   20\n") + "NEW spisok\n   10\n", released=1),
    case("two elements, k 3: past the end", "10\n20\n\n3\n",
         after("   10   20\n") + "element     3 apsent"),
    case("three elements, k 3: last by the walk", "1\n2\n3\n\n3\n",
         after("    1    2    3\n") + "new spisok\n    1    2\n", released=1),
    case("k after blank lines and spaces, rest of line unread", LIST + "\n  +3abc\n",
         SHOWN + "new spisok\n   10   20   40\n"),
    case("k letters read as 0", LIST + "x\n", SHOWN + "NEW spisok\n   10   20   30   40\n"),
    case("no k before end of input", LIST, SHOWN + "NEW spisok\n   10   20   30   40\n"),
    case("huge k clamps past the end", LIST + "99999999999\n", SHOWN + "element 2147483647 apsent"),
    case("k past 2^64 clamps too", LIST + "18446744073709551617\n",
         SHOWN + "element 2147483647 apsent"),
    case("huge negative k clamps", LIST + "-99999999999\n",
         SHOWN + "NEW spisok\n   10   20   30   40\n"),
    case("k on a last line without end-of-line", "10\n20\n\n1", after("   10   20\n") + "NEW spisok\n   20\n"),
    case("end of input inside k's sign", LIST + "-", SHOWN + "NEW spisok\n   10   20   30   40\n"),
    case("k with CRLF", LIST + "4\r\n", SHOWN + "new spisok\n   10   20   30\n"),
    case("read error at k: no listing after it", LIST + "1", SHOWN, status=1,
         stderr="posremove: read error: Resource temporarily unavailable\n",
         stdin_is="nonblocking"),
    case("--draw, k 1: head moves on", LIST + "1\n",
         DRAWN + """\
-- current = head; // k is 1
   head,current      tail
   v                 v
  [10]->[20]->[30]->[40]->NULL
-- head = head->next; // current goes
   head        tail
   v           v
  [20]->[30]->[40]->NULL
   ^
   |
  [10] <- current unlinked
-- std::free(current); // current now dangles
   head        tail
   v           v
  [20]->[30]->[40]->NULL
  current (dangling) -> [10] released
NEW spisok
   20   30   40
""", args=["--draw"]),
    case("--draw, k 2: unlinked from head", LIST + "2\n",
         DRAWN + """\
-- current = head->next; // k is 2
   head  current     tail
   v     v           v
  [10]->[20]->[30]->[40]->NULL
-- head->next = current->next; // current goes
   head        tail
   v           v
  [10]=>[30]->[40]->NULL
         ^
         |
        [20] <- current unlinked
-- std::free(current); // current now dangles
   head        tail
   v           v
  [10]->[30]->[40]->NULL
  current (dangling) -> [20] released
NEW spisok
   10   30   40
""", args=["--draw"]),
    case("--draw, k 3: a middle node by the walk", LIST + "3\n",
         walk(3, 1) + """\
-- previous->next = current->next; // current is at position k, 3
         previous
   head  |     tail
   v     v     v
  [10]->[20]=>[40]->NULL
               ^
               |
              [30] <- current unlinked
-- std::free(current); // current now dangles
         previous
   head  |     tail
   v     v     v
  [10]->[20]->[40]->NULL
  current (dangling) -> [30] released
new spisok
   10   20   40
""", args=["--draw"]),
    case("--draw, k 4: the last, tail left on it", LIST + "4\n",
         walk(4, 2) + """\
-- previous->next = current->next; // current is at position k, 4
   head        previous
   v           v
  [10]->[20]->[30]=>NULL
  current,tail -> [40]->NULL unlinked
-- std::free(current); // current and tail now dangle (nothing reads tail again)
   head        previous
   v           v
  [10]->[20]->[30]->NULL
  current,tail (dangling) -> [40] released
new spisok
   10   20   30
""", args=["--draw"]),
    case("--draw, k 5: past the end", LIST + "5\n",
         walk(5, 2) + """\
-- // the list ends at position 4: there is no position 5
               previous
   head        |     current,tail
   v           v     v
  [10]->[20]->[30]->[40]->NULL
element     5 apsent""", args=["--draw"]),
    case("--draw, two elements, k 2: the tail removed, tail dangles", "10\n20\n\n2\n", TEN_TWENTY + """\
inputed spisok
   10   20
input nomber of find elem
-- current = head->next; // k is 2
   head  current,tail
   v     v
  [10]->[20]->NULL
-- head->next = current->next; // current goes
   head
   v
  [10]=>NULL
  current,tail -> [20]->NULL unlinked
-- std::free(current); // current and tail now dangle (nothing reads tail again)
   head
   v
  [10]->NULL
  current,tail (dangling) -> [20] released
NEW spisok
   10
""", args=["--draw"]),
    case("--draw, one element, k 2: no second node", "10\n\n2\n", first_drawn(10) + """\
inputed spisok
   10
input nomber of find elem
-- // k is 2, but head->next is NULL: there is no second node
   head,tail
   v
  [10]->NULL
element     2 apsent""", args=["--draw"]),
    case("--draw, k 0: nothing removed", LIST + "0\n",
         DRAWN + """\
-- // k is 0: no node has this position, none is removed
   head              tail
   v                 v
  [10]->[20]->[30]->[40]->NULL
NEW spisok
   10   20   30   40
""", args=["--draw"]),
    case("--draw, one element, k 3: the list ends at position 1", "7\n\n3\n",
         first_drawn(7) + """\
inputed spisok
    7
input nomber of find elem
-- previous = head; // k is 3: a walk from the head
   head,previous,tail
   v
  [7]->NULL
-- current = head->next; // the list has one node
   head,previous,tail
   |   current
   v   v
  [7]->NULL
-- // the list ends at position 1: there is no position 3
   head,previous,tail
   |   current
   v   v
  [7]->NULL
element     3 apsent""", args=["--draw"]),
    case("--draw at 20 columns: every label at its bar, the row broken before one that would not fit", "10\n20\n30\n\n3\n",
         INT_PROMPT + """\
-- IntNode* node =
-- newIntNode(toInt3
-- 2(line)); // 10
-- was typed
  head,tail
  v
  NULL
  node -> [10]=>NULL
-- head = tail =
-- node; // the
-- first node is the
-- whole list
   head,node,tail
   v
  [10]->NULL
-- node =
-- newIntNode(toInt3
-- 2(line)); // 20
-- was typed
   head,tail
   v
  [10]->NULL
  node -> [20]=>NULL
-- tail->next =
-- node; // 20 goes
-- to the tail
   head,tail
   |     node
   v     v
  [10]=>[20]->NULL
-- tail = node; //
-- node is the last
-- node now
   head  node,tail
   v     v
  [10]->[20]->NULL
-- node =
-- newIntNode(toInt3
-- 2(line)); // 30
-- was typed
   head  tail
   v     v
  [10]->[20]->NULL
  node -> [30]=>NULL
-- tail->next =
-- node; // 30 goes
-- to the tail
   head  tail
   v     v
  [10]->[20]=>
   node
   v
  [30]->NULL
-- tail = node; //
-- node is the last
-- node now
   head
   v
  [10]->[20]->
   node,tail
   v
  [30]->NULL
inputed spisok
   10   20   30
input nomber of find elem
-- previous = head;
-- // k is 3: a walk
-- from the head
   head,previous
   v
  [10]->[20]->
   tail
   v
  [30]->NULL
-- current =
-- head->next; //
-- current is at
-- position 2
   head,previous
   |     current
   v     v
  [10]->[20]->
   tail
   v
  [30]->NULL
-- previous =
-- current; current
-- = current->next;
-- ++position; // 20
-- is at position 2,
-- before k
   head  previous
   v     v
  [10]->[20]->
   current,tail
   v
  [30]->NULL
-- previous->next =
-- current->next; //
-- current is at
-- position k, 3
   head  previous
   v     v
  [10]->[20]=>NULL
  current,tail ->
    [30]->NULL
    unlinked
-- std::free(current
-- ); // current and
-- tail now dangle
-- (nothing reads
-- tail again)
   head  previous
   v     v
  [10]->[20]->NULL
  current,tail
    (dangling) ->
    [30] released
new spisok
   10   20
""", args=["--draw"], columns=20),
    case("standard input the null device: no key wait", "",
         after("    0\n") + "NEW spisok\n    0\n", stdin_is="null"),
    case("output lost: status 1 and the reason", LIST + "5\n", "", status=1,
         stderr="posremove: write error: No space left on device\n", to_full=True),
]
