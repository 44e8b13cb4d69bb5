// quorvel-lookup: the Locate command for each destination on the command line, or for many at
// once (a file of destinations, the addresses in a log) as a batch.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "LocateCommand.h"
#include "SocketLibrary.h"
#include "ToolConsole.h"

namespace quorvel {

// Exit statuses; with several destinations the highest one is returned.
enum ExitStatus : int {
    kExitAnswered = 0,       // a registry record, or the private or loopback text
    kExitQueryFailed = 1,    // "Failed to query." (a registry that refused included)
    kExitUsage = 2,          // no destination, an unknown option, or an empty destination
    kExitUnresolved = 3,     // the destination did not resolve
    kExitInterrupted = 130,  // a batch stopped by Ctrl-C or SIGTERM
};

int ExitStatusOf(LocateOutcome outcome);
// Whether stdout gets the information box's text (a registry record, the private or loopback
// text, or "Failed to query.").
bool ShowsResult(LocateOutcome outcome);
// What stdout gets for a result that is shown: the information box's text, after an empty line
// when another result came before it, and ending in a line feed.
std::string ResultText(const std::string& informationText, bool afterAnother);

// Runs the tool on `args` (without the program name). stdout gets the information box's final
// text for each destination; stderr the message-box texts.
int RunLookupTool(const std::vector<std::string>& args, ToolConsole& console,
                  ISocketLibrary& sockets);

// The same with no standard input, and stdout and stderr not terminals.
int RunLookupTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  ISocketLibrary& sockets);

}  // namespace quorvel
