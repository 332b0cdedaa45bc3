# drawlist: the drawing's layout on lists described in three lines each
# (values; pointers by index, *text>next:word for a node beside the list;
# the caption), at the widths where its rules bite.
from cases import case


TENS = "10 20 30 40 50 60 70 80 90 100 110 120 130 140 150 160 170 180 190 200 210 220 230 240 250 260 270 280 290 300 310 320 330 340 350"


def values(count):
    return " ".join(str(n) for n in range(1, count + 1))


CASES = [
    case("a count past a hundred reads 100+",
         values(150) + "\ncursor=1 tail=149\ncursor = head->next; // why\n", """\
-- cursor = head->next; // why
   head
   |    cursor                tail
   v    v                     v
  [1]->[2]->[3]->...100+---->[150]->NULL
""", columns=40),
    case("while a walk's counts change, its bar keeps its column",
         (values(30) + "\ncursor=10 tail=29\ncursor = cursor->next; // 10 is not it\n" + values(30)
          + "\ncursor=11 tail=29\ncursor = cursor->next; // 11 is not it\n"), """\
-- cursor = cursor->next; // 10 is not it
   head               cursor             tail
   v                  v                  v
  [1]->[2]->...8---->[11]->[12]->...17->[30]->NULL
-- cursor = cursor->next; // 11 is not it
   head               cursor             tail
   v                  v                  v
  [1]->[2]->...9---->[12]->[13]->...16->[30]->NULL
""", columns=50),
    case("a node beside the list: its names after its box, or below it, and a link up to the row",
         "1 2 333333\nprev=1 cur=*77777>2:unlinked\nprev->next = cur->next; // why\n10 20\nnode=*5>0\nnode->next = head; // 5 at the head\n", """\
-- prev->next =
-- cur->next; // why
   head
   |    prev
   v    v
  [1]->[2]=>
  [333333]->NULL
   ^
   |
  [77777]
  <- cur unlinked
-- node->next =
-- head; // 5 at the
-- head
   head
   v
  [10]->[20]->NULL
   ^
   =
  [5] <- node
""", columns=20),
    case("a node beside the list: its names before its box, which stays under its arrow at the right edge",
         "1 2 3\nprev=1 node=*123456789012>2\nCharNode* node = newCharNode('#', cur); // why\n", """\
-- CharNode* node =
-- newCharNode('#',
-- cur); // why
   head
   |    prev
   v    v
  [1]->[2]->[3]->NULL
             ^
             =
  node -> [123456789012]
""", columns=24),
    case("a link set to NULL, a released node without its next, a gap of one node drawn",
         ("1 2\nprev=1\nprev->next = nullptr; // why\n1 2 3\nprev=0 cur=*2>-1:released\n"
          "std::free(cur); // cur dangles\n1 2 3 4\ncursor=3\ncursor = tail; // a gap of one node\n"), """\
-- prev->next =
-- nullptr; // why
   head
   |    prev
   v    v
  [1]->[2]=>NULL
-- std::free(cur);
-- // cur dangles
   head,prev
   v
  [1]->[2]->
  [3]->NULL
  cur (dangling) ->
    [2] released
-- cursor = tail; //
-- a gap of one node
   head
   v
  [1]->[2]->[3]->
   cursor
   v
  [4]->NULL
""", columns=20),
    case("names two apart, and a row going on before a label that would not fit",
         "10 20 30 40 50 60 70\nprevious=3 current=4 tail=6\nprevious = current; // names two apart\n1 2 3 4 5\nsomewhatlongname=4\nsomewhatlongname = tail; // a long name\n", """\
-- previous = current; //
-- names two apart
   head              previous
   v                 v
  [10]->[20]->[30]->[40]->
   current     tail
   v           v
  [50]->[60]->[70]->NULL
-- somewhatlongname = tail; //
-- a long name
   head
   v
  [1]->[2]->...2->
   somewhatlongname
   v
  [5]->NULL
""", columns=30),
    case("a lone node that must be shown takes its room: the row still fits one line",
         "1 2 3 4 5 6 7 8 9 10 11 12 13 14\ncursor=3 tail=13\ncursor = tail; // why\n", """\
-- cursor = tail; // why
   head           cursor            tail
   v              v                 v
  [1]->[2]->[3]->[4]->[5]->...8--->[14]->NULL
""", columns=45),
    case("a row that fits is drawn whole, nothing left out for a walk to come",
         "# * a '_' b # * # * c '_' d *\nprev=6 node=7 cur=8\nprev->next = node; // why\n", """\
-- prev->next = node; // why
                                        node
   head                            prev |    cur
   v                               v    v    v
  [#]->[*]->[a]->['_']->[b]->[#]->[*]=>[#]->[*]->[c]->['_']->[d]->[*]->NULL
"""),
    case("a box no assignment touches holds its column while a walk widens the boxes left of it",
         (TENS + "\nprevious=8 current=9 tail=34\nprevious = current; // 90\n" + TENS
          + "\nprevious=9 current=10 tail=34\nprevious = current; // 100\n"), """\
-- previous = current; // 90
                                          previous
   head                                   |     current               tail
   v                                      v     v                     v
  [10]->[20]->[30]->[40]->[50]->...3---->[90]->[100]->[110]->...23-->[350]->NULL
-- previous = current; // 100
                                          previous
   head                                   |      current              tail
   v                                      v      v                    v
  [10]->[20]->[30]->[40]->[50]->...4---->[100]->[110]->[120]->...22->[350]->NULL
"""),
    case("exactly a hundred left out read ...100",
         values(105) + "\ncursor=1 tail=104\ncursor = head->next; // why\n", """\
-- cursor = head->next; // why
   head
   |    cursor                   tail
   v    v                        v
  [1]->[2]->[3]->[4]->...100--->[105]->NULL
""", columns=43),
    case("a node's NULL is never split from its arrow",
         "1\nnode=*-2147483648>-1\nnode = newIntNode(x); // why\n", """\
-- node =
-- newIntNode(x); //
-- why
   head
   v
  [1]->NULL
  node ->
    [-2147483648]
    =>NULL
""", columns=20),
]
