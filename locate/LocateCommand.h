// The Locate command: resolve the destination typed into the address box (a dotted IPv4
// address, an IPv6 address or a host name), head the answer with its name and address, ask the
// registries about the address and show header and report.
#pragma once

#include <optional>
#include <string>

#include "LocateView.h"
#include "SharedExchanges.h"
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
    // `shared`: what the lookups of a run of many share (SharedExchanges.h); none for one.
    CLocateCommand(ILocateView& view, ISocketLibrary& sockets, CSharedExchanges* shared = nullptr);

    // The whole command on the caller's thread: Begin, Run and Finish one after the other.
    LocateOutcome OnLocate();

    // The command in three steps, so that a window can ask the network off its own thread and
    // stay alive meanwhile. Begin and Finish run on the window's thread; Run on any other, in
    // between, and it tells the user of problems only through `feedback` (message boxes, which
    // the window shows on its own thread), never through the view.
    //
    // Begin reads the address box, locks the input and shows "Querying..."; false when the
    // command has already ended (nothing was typed), and then neither Run nor Finish follows.
    bool Begin();
    void Run(ILookupFeedback& feedback);
    // Shows the answer, or "Ready." after a resolve failure, and unlocks the input.
    LocateOutcome Finish();

    void EnableInput(bool enable);

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
    // The resolve failure's message box; Finish then shows "Ready." and unlocks.
    void ReportResolveFailure();

    ILocateView& m_view;
    ISocketLibrary& m_sockets;
    CSharedExchanges* m_shared;
    ILookupFeedback* m_feedback = nullptr;  // set while Run runs
    std::string m_addressText;
    std::string m_shownText;
    LocateOutcome m_outcome = LocateOutcome::Answered;
};

}  // namespace quorvel
