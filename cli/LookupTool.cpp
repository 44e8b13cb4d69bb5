#include "LookupTool.h"

#include <algorithm>

#include "ConsoleView.h"
#include "LocateCommand.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "Version.h"

namespace quorvel {
namespace {

// The whole --help text, one block.
constexpr char kUsage[] =
    "Usage: quorvel-lookup [OPTION]... DESTINATION...\n"
    "Tell who holds an Internet address. Each DESTINATION is a host name, an IPv4 or IPv6\n"
    "address, a prefix (8.8.8.0/24, 2001:db8::/32) or an AS number (AS13335, AS1.10), also\n"
    "as people paste them: a URL (https://example.org/x gives example.org), an address or\n"
    "name with a port (8.8.8.8:443, [2001:db8::1]:443), in brackets or quotes (<8.8.8.8>),\n"
    "defanged (hxxps://evil[.]example/), an IPv6 address with a zone (fe80::1%eth0).\n"
    "Blanks around a DESTINATION are ignored; international names are read in UTF-8 and\n"
    "resolved by their ASCII form.\n"
    "\n"
    "A name or address is resolved and headed with its name and address; then the regional\n"
    "registries' whois servers are asked in referral order (TCP port 43) and the registry's\n"
    "record is shown: an IPv4 address or prefix starts at APNIC (with TWNIC), then ARIN,\n"
    "RIPE NCC, LACNIC or AFRINIC; an IPv6 address or prefix, and an AS number, start at\n"
    "IANA, which names the registry.\n"
    "\n"
    "  -v, --verbose  say on stderr how a pasted DESTINATION was read, and name each\n"
    "                 registry server and query text as it is asked\n"
    "      --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "Exit status: 0 a record, or a private or loopback address; 1 the query failed;\n"
    "2 a usage error or an empty destination; 3 a destination did not resolve.\n"
    "With several destinations, the highest.\n";

constexpr char kVersion[] = QUORVEL_VERSION_LINE "\n";

struct Options {
    bool verbose = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> destinations;
};

// False after an unknown option, which has been reported.
bool ParseArguments(const std::vector<std::string>& args, Options& options, std::ostream& err) {
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.destinations.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-v" || arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--help") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            err << "quorvel-lookup: unknown option '" << arg << "'\n"
                << "Try 'quorvel-lookup --help' for more information.\n";
            return false;
        }
    }
    return true;
}

int ExitStatusOf(LocateOutcome outcome) {
    switch (outcome) {
        case LocateOutcome::EmptyDestination:
            return kExitUsage;
        case LocateOutcome::Unresolved:
            return kExitUnresolved;
        case LocateOutcome::QueryFailed:
            return kExitQueryFailed;
        case LocateOutcome::Answered:
            break;
    }
    return kExitAnswered;
}

bool ShowsResult(LocateOutcome outcome) {
    return outcome == LocateOutcome::Answered || outcome == LocateOutcome::QueryFailed;
}

}  // namespace

int RunLookupTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  ISocketLibrary& sockets) {
    Options options;
    if (!ParseArguments(args, options, err)) {
        return kExitUsage;
    }
    if (options.help) {
        out << kUsage;
        return kExitAnswered;
    }
    if (options.version) {
        out << kVersion;
        return kExitAnswered;
    }
    if (options.destinations.empty()) {
        err << "quorvel-lookup: no destination given\n"
            << "Try 'quorvel-lookup --help' for more information.\n";
        return kExitUsage;
    }

    ConsoleView view(err, options.verbose);
    if (sockets.Startup(kSocketLibraryVersion) != 0) {
        view.ShowMessageBox(LoadStringResource(IDS_SOCKETS_START_FAILED), MessageIcon::None);
    }
    int status = kExitAnswered;
    bool printedResult = false;
    for (const std::string& destination : options.destinations) {
        view.SetDestination(destination);
        const LocateOutcome outcome = CLocateCommand(view, sockets).OnLocate();
        status = std::max(status, ExitStatusOf(outcome));
        if (!ShowsResult(outcome)) {
            continue;
        }
        const std::string& text = view.InformationText();
        out << (printedResult ? "\n" : "") << text;
        if (text.empty() || text.back() != '\n') {
            out << '\n';
        }
        out.flush();
        printedResult = true;
    }
    sockets.Cleanup();
    return status;
}

}  // namespace quorvel
