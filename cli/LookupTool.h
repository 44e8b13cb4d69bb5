// quorvel-lookup: the Locate command for each destination on the command line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "SocketLibrary.h"

namespace quorvel {

// Exit statuses; with several destinations the highest one is returned.
enum ExitStatus : int {
    kExitAnswered = 0,     // a registry record, or the private or loopback text
    kExitQueryFailed = 1,  // "Failed to query."
    kExitUsage = 2,        // no destination, an unknown option, or an empty destination
    kExitUnresolved = 3,   // the destination did not resolve
};

// Runs the tool on `args` (without the program name). stdout gets the information box's final
// text for each destination; stderr the message-box texts.
int RunLookupTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  ISocketLibrary& sockets);

}  // namespace quorvel
