/* The yardstick for the character programs: hashstar's steps written
   plainly in C. One bounded line read, one malloc per node, printf("%2c"). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct node {
    char ch;
    struct node *next;
};

static struct node *make(char ch, struct node *next)
{
    struct node *node = malloc(sizeof *node);
    if (!node)
        exit(1);
    node->ch = ch;
    node->next = next;
    return node;
}

static void print(const char *heading, const struct node *head)
{
    puts(heading);
    for (; head; head = head->next)
        printf("%2c", head->ch);
    printf("\n");
}

int main(void)
{
    char st[40] = "";
    puts("Input string with *");
    if (fgets(st, sizeof st, stdin))
        st[strcspn(st, "\n")] = '\0';
    struct node *head = make(st[0], NULL), *tail = head;
    for (int i = 1; st[0] && st[i]; ++i) {
        tail->next = make(st[i], NULL);
        tail = tail->next;
    }
    print("Inputed spisok", head);
    struct node *cur = head;
    if (head->ch == '*')
        head = make('#', head);
    while (cur->next) {
        struct node *prev = cur;
        cur = cur->next;
        if (cur->ch == '*')
            prev->next = make('#', cur);
    }
    print("NEW spisok", head);
    return 0;
}
