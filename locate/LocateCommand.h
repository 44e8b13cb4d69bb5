// The Locate command: read the destination typed or pasted into the address box (an address, a
// prefix, an AS number or a host name), head the answer with its name and address, ask the
// registries about it and show header and report.
#pragma once

#include <optional>
#include <string>

#include "Destination.h"
#include "LocateView.h"
#include "Lookup.h"
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

// What a command found, for callers that report on it (a summary of many destinations).
struct LocateAnswer {
    enum class Ending { Record, Private, Loopback, Failed, Unresolved, Empty };

    Ending ending = Ending::Empty;
    DestinationKind kind = DestinationKind::None;
    // The header's two values; an AS number's "AS<n>" in both.
    std::string name;
    std::string address;
    // What the registries' lookup gave: the text shown below the header, whose record it is and
    // the reply it was cut from. Empty when the command ended before asking anyone.
    LookupAnswer lookup;
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

    // What the command found, once it has ended.
    const LocateAnswer& Answer() const { return m_answer; }

private:
    // Each kind of destination: fills the header's values and asks the lookup; none after the
    // resolve failure has been reported.
    std::optional<LookupAnswer> Locate(const NoDestination& read, CWhoisClient& client);
    std::optional<LookupAnswer> Locate(const Ipv4Destination& read, CWhoisClient& client);
    std::optional<LookupAnswer> Locate(const Ipv6Destination& read, CWhoisClient& client);
    std::optional<LookupAnswer> Locate(const Prefix& read, CWhoisClient& client);
    std::optional<LookupAnswer> Locate(const AsNumber& read, CWhoisClient& client);
    std::optional<LookupAnswer> Locate(const HostName& read, CWhoisClient& client);

    // An address is named by its reverse lookup's answer, or stands as its own name when it
    // has none; false after any other failure, which has been reported.
    bool NameAddress(const std::optional<std::string>& reverseName, const std::string& address);
    // The text of a host name's first address, as the registries are asked about it; none
    // after the resolve failure has been reported.
    std::optional<std::string> ResolveHostName(const std::string& hostName);
    std::string HeaderText() const;
    // The resolve failure's message box; Finish then shows "Ready." and unlocks.
    void ReportResolveFailure();

    ILocateView& m_view;
    ISocketLibrary& m_sockets;
    CSharedExchanges* m_shared;
    ILookupFeedback* m_feedback = nullptr;  // set while Run runs
    Destination m_destination;
    LocateAnswer m_answer;
    std::string m_shownText;
    LocateOutcome m_outcome = LocateOutcome::Answered;
};

}  // namespace quorvel
