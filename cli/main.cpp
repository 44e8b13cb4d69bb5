// quorvel-lookup: who holds an Internet address, from a terminal or a script.
#include <atomic>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "LookupTool.h"
#include "ProcessConsole.h"

#ifdef _WIN32
#include "Utf16Text.h"
#endif

namespace {

int RunOnProcessConsole(const std::vector<std::string>& args) {
    static std::atomic<bool> interrupted{false};
    quorvel::ToolConsole console = quorvel::ProcessConsole();
    console.interrupted = &interrupted;
    console.catchInterrupts = [] { quorvel::StopOnInterrupt(interrupted); };
    const int status = quorvel::RunLookupTool(args, console, quorvel::PlatformSocketLibrary());
    if (status == quorvel::kExitInterrupted) {
        // A lookup the resolver still holds may be left running: end without waiting for it.
        std::cout.flush();
        std::cerr.flush();
        std::_Exit(status);
    }
    return status;
}

}  // namespace

#ifdef _WIN32
// Windows hands the arguments over as UTF-16 (wmain, linked with -municode): read so, an
// international name arrives whole, whatever the system's ANSI code page, and goes on in UTF-8.
extern "C" int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(quorvel::Utf8FromWide(argv[i]));
    }
    return RunOnProcessConsole(args);
}
#else
int main(int argc, char** argv) {
    return RunOnProcessConsole(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
