"""The shape of a table row, shared by every table."""


def case(name, stdin, stdout, status=0, stderr="", **options):
    """One run: standard input, the exact standard output, the exit status,
    the exact standard error. Text is taken byte for byte (latin-1), so any
    byte value can be written as \\xNN. Options: to_full (standard output is
    /dev/full, so only stderr and status are compared), to_read_only_terminal
    (standard output is a terminal opened for reading only, likewise), vm_limit_kb (an
    address-space limit), args (the command-line arguments), stdin_is
    ("directory": standard input is "/"; "closed": there is none; "null":
    the null device, a character device that is no terminal or console;
    "nonblocking": a non-blocking pipe that holds stdin and stays open, so
    reading past it fails with EAGAIN), columns (COLUMNS, 80 when not given),
    argv0 (the name the program is started under), posix (not on Windows:
    --trace, which takes standard output's stream, is not there)."""
    def raw(text):
        return text if isinstance(text, bytes) else text.encode("latin-1")
    return dict(name=name, stdin=raw(stdin), stdout=raw(stdout), status=status,
                stderr=raw(stderr), **options)


INT_PROMPT = "Input integer value or ENTER\n"
# The heading of the first listing in fifolist, twoends, lifolist, parityfive.
FIRST_LAST = INT_PROMPT + "inputed spisok first -> last\n"


def first_drawn(value):
    """The prompt and --draw's two drawings of the dialogue's first value."""
    return INT_PROMPT + f"""\
-- IntNode* node = newIntNode(toInt32(line)); // {value} was typed
  head,tail
  v
  NULL
  node -> [{value}]=>NULL
-- head = tail = node; // the first node is the whole list
   head,node,tail
   v
  [{value}]->NULL
"""


CHAR_PROMPT = "Input string with *\n"


def char_run(before, after):
    """The whole output of a character program: prompt, the line as read and
    the line after the change, each character shown as a space and itself."""
    def spaced(chars):
        return "".join(" " + c for c in chars) + "\n"
    return (CHAR_PROMPT + "Inputed spisok\n" + spaced(before)
            + "NEW spisok\n" + spaced(after))
