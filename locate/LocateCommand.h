// The Locate command: resolve the destination typed into the address box, head the answer with
// its name and address, ask the registries about the address and show header and report.
#pragma once

#include <optional>
#include <string>

#include "LocateView.h"
#include "SocketLibrary.h"

namespace quorvel {

// How a command ended, for callers that report it (the command line's exit status).
enum class LocateOutcome {
    EmptyDestination,  // nothing typed: "Please type destination address."
    Unresolved,        // the destination did not resolve: the resolve-failure message
    Answered,          // a registry record, or the private or loopback text
    QueryFailed,       // the report is "Failed to query."
};

class CLocateCommand {
public:
    CLocateCommand(ILocateView& view, ISocketLibrary& sockets);

    LocateOutcome OnLocate();
    void EnableInput(bool enable);
    void ReportResolveFailure();

private:
    // The header for the destination, or none after the resolve failure has been reported.
    // On the host-name path the address text becomes the dotted form of its first address.
    std::optional<std::string> ResolveDestination(std::string& addressText);

    ILocateView& m_view;
    ISocketLibrary& m_sockets;
};

}  // namespace quorvel
