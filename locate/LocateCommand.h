// The Locate command: resolve the destination typed into the address box (a dotted IPv4
// address, an IPv6 address or a host name), head the answer with its name and address, ask the
// registries about the address and show header and report.
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
    // The address text becomes what the registries are asked: the dotted address as typed, the
    // canonical text of an IPv6 address, or the first address of a host name.
    std::optional<std::string> ResolveDestination(std::string& addressText);
    std::optional<std::string> NameDottedAddress(const std::string& addressText);
    std::optional<std::string> NameIpv6Address(const Ipv6Address& address,
                                               const std::string& addressText);
    std::optional<std::string> HeaderNamedBy(const std::optional<std::string>& name,
                                             const std::string& addressText);
    std::optional<std::string> ResolveHostName(std::string& addressText);

    ILocateView& m_view;
    ISocketLibrary& m_sockets;
};

}  // namespace quorvel
