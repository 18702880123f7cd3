/* Help context numbers: the five Help buttons open these pages. */
#define IDH_MANAGER 1
#define IDH_LIBRARIAN 2
#define IDH_EDITOR 3
#define IDH_LIBRARIAN_OPTIONS 4
#define IDH_HEX_EDITOR 5
