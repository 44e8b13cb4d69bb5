// quorvel-lookup: who holds an Internet address, from a terminal or a script.
#include <iostream>
#include <string>
#include <vector>

#include "LookupTool.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "Utf16Text.h"

// Windows hands the arguments over as UTF-16 (wmain, linked with -municode): read so, an
// international name arrives whole, whatever the system's ANSI code page, and goes on in UTF-8.
extern "C" int wmain(int argc, wchar_t** argv) {
    // Replies go out byte for byte: no CR added before their line feeds.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(quorvel::Utf8FromWide(argv[i]));
    }
    return quorvel::RunLookupTool(args, std::cout, std::cerr, quorvel::PlatformSocketLibrary());
}
#else
int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return quorvel::RunLookupTool(args, std::cout, std::cerr, quorvel::PlatformSocketLibrary());
}
#endif
