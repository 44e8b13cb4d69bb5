// quorvel_close_window TITLE: clicks the close box of the window with that title, for the
// scripts that run the real program.
#include <cstdio>

#include "CloseRequest.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvel_close_window TITLE\n");
        return 2;
    }
    if (!quorvel::SendCloseRequest(argv[1])) {
        std::fprintf(stderr, "no window titled \"%s\"\n", argv[1]);
        return 1;
    }
    return 0;
}
