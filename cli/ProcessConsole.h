// The console quorvel-lookup runs on: its standard streams, whether they are terminals and how
// wide stderr's is, and Ctrl-C and SIGTERM turned into a request to stop.
#pragma once

#include <atomic>

#include "ToolConsole.h"

namespace quorvel {

// std::cin, std::cout and std::cerr, all three binary: replies go out byte for byte (on
// Windows no CR is added before their line feeds, and a file's CR LF reads as written).
ToolConsole ProcessConsole();

// From now on, Ctrl-C and SIGTERM (on Windows Ctrl-C, Ctrl-Break and closing the console) set
// `interrupted` instead of ending the program; a second one ends it at once.
void StopOnInterrupt(std::atomic<bool>& interrupted);

}  // namespace quorvel
