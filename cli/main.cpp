// quorvel-lookup: who holds an Internet address, from a terminal or a script.
#include <atomic>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "LookupTool.h"
#include "ProcessConsole.h"

int main(int argc, char** argv) {
    static std::atomic<bool> interrupted{false};
    quorvel::StopOnInterrupt(interrupted);
    quorvel::ToolConsole console = quorvel::ProcessConsole();
    console.interrupted = &interrupted;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = quorvel::RunLookupTool(args, console, quorvel::PlatformSocketLibrary());
    if (status == quorvel::kExitInterrupted) {
        // A lookup the resolver still holds may be left running: end without waiting for it.
        std::cout.flush();
        std::cerr.flush();
        std::_Exit(status);
    }
    return status;
}
