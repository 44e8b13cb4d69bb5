#include "LookupTool.h"

#include <algorithm>
#include <sstream>

#include "BatchRun.h"
#include "ConsoleView.h"
#include "LocateCommand.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "TerminalText.h"
#include "ToolOptions.h"
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
    "Many destinations at once, as a batch:\n"
    "  -f, --file FILE     read destinations from FILE, one a line (- reads standard input);\n"
    "                      empty lines and lines beginning with # are skipped\n"
    "      --extract       instead, look up every IPv4 and IPv6 address in the files and\n"
    "                      arguments (a log), each once, with how often it occurs\n"
    "      --format FORMAT text (the default, as above), csv or json (JSON Lines): one row\n"
    "                      per destination with its name, address, registry, range,\n"
    "                      network, holder, country and status\n"
    "      --jobs N        up to N lookups at once (1-32; default 8)\n"
    "      --per-server N  up to N exchanges at once with one registry server (1-4;\n"
    "                      default 2)\n"
    "      --no-progress   no progress line on stderr (it is drawn only on a terminal)\n"
    "A batch writes the answers in input order, asks each destination once and asks no\n"
    "registry again that has refused to answer; Ctrl-C stops it (exit status 130) after\n"
    "writing every answer that was complete.\n"
    "\n"
    "Exit status: 0 a record, or a private or loopback address; 1 the query failed;\n"
    "2 a usage error or an empty destination; 3 a destination did not resolve.\n"
    "With several destinations, the highest; 130 a batch stopped by Ctrl-C or SIGTERM.\n";

constexpr char kVersion[] = QUORVEL_VERSION_LINE "\n";

// One destination after another, as quorvel-lookup has always run.
int RunOneAfterAnother(const ToolOptions& options, ToolConsole& console, ISocketLibrary& sockets) {
    ConsoleView view(console.err, options.verbose);
    view.SetTerminal(console.errIsTerminal);
    int status = kExitAnswered;
    bool printedResult = false;
    for (const ToolInput& input : options.inputs) {
        view.SetDestination(input.text);
        const LocateOutcome outcome = CLocateCommand(view, sockets).OnLocate();
        status = std::max(status, ExitStatusOf(outcome));
        if (!ShowsResult(outcome)) {
            continue;
        }
        const std::string text = ResultText(view.InformationText(), printedResult);
        console.out << (console.outIsTerminal ? EscapedForTerminal(text) : text);
        console.out.flush();
        printedResult = true;
    }
    return status;
}

}  // namespace

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

std::string ResultText(const std::string& informationText, bool afterAnother) {
    std::string text = (afterAnother ? "\n" : "") + informationText;
    if (text.empty() || text.back() != '\n') {
        text += '\n';
    }
    return text;
}

int RunLookupTool(const std::vector<std::string>& args, ToolConsole& console,
                  ISocketLibrary& sockets) {
    const std::optional<ToolOptions> options = ParseToolOptions(args, console.err);
    if (!options) {
        return kExitUsage;
    }
    if (options->help) {
        console.out << kUsage;
        return kExitAnswered;
    }
    if (options->version) {
        console.out << kVersion;
        return kExitAnswered;
    }
    if (options->inputs.empty()) {
        console.err << "quorvel-lookup: no destination given\n"
                    << "Try 'quorvel-lookup --help' for more information.\n";
        return kExitUsage;
    }

    if (sockets.Startup(kSocketLibraryVersion) != 0) {
        console.err << LoadStringResource(IDS_SOCKETS_START_FAILED) << '\n' << std::flush;
    }
    const int status = options->batch ? RunBatch(*options, console, sockets)
                                      : RunOneAfterAnother(*options, console, sockets);
    sockets.Cleanup();
    return status;
}

int RunLookupTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                  ISocketLibrary& sockets) {
    std::istringstream noInput;
    ToolConsole console{noInput, out, err};
    return RunLookupTool(args, console, sockets);
}

}  // namespace quorvel
