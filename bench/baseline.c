/* The yardstick for the benchmark: fifolist's steps written plainly in C.
   Bounded line reads, strtol, one malloc per node, printf("%5d"). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct node {
    int value;
    struct node *next;
};

static char line[12];

/* fgets bounded by the buffer; the rest of an overlong line is skipped. */
static int read_line(void)
{
    if (!fgets(line, sizeof line, stdin))
        return 0;
    size_t n = strlen(line);
    if (n > 0 && line[n - 1] == '\n') {
        line[n - 1] = '\0';
    } else {
        int c;
        while ((c = getchar()) != EOF && c != '\n')
            ;
    }
    return 1;
}

static struct node *make(void)
{
    struct node *node = malloc(sizeof *node);
    if (!node)
        exit(1);
    node->value = (int)strtol(line, NULL, 10);
    node->next = NULL;
    return node;
}

int main(void)
{
    puts("Input integer value or ENTER");
    read_line();
    struct node *head = make(), *tail = head;
    while (read_line() && line[0] != '\0') {
        tail->next = make();
        tail = tail->next;
    }
    puts("inputed spisok first -> last");
    for (struct node *cursor = head; cursor; cursor = cursor->next)
        printf("%5d", cursor->value);
    printf("\n");
    return 0;
}
