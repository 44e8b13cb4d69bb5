// quorvel-lookup: who holds an Internet address, from a terminal or a script.
#include <iostream>
#include <string>
#include <vector>

#include "LookupTool.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Replies go out byte for byte: no CR added before their line feeds.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    return quorvel::RunLookupTool(args, std::cout, std::cerr, quorvel::PlatformSocketLibrary());
}
