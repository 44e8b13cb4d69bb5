#include "LocateCommand.h"

#include <variant>

#include "DottedAddress.h"
#include "HostNameIdna.h"
#include "Ipv6Address.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "WhoisClient.h"

namespace quorvel {
namespace {

// "Name:" and "Address:" padded to nine characters, CR LF line ends, an empty line after.
std::string Header(const std::string& name, const std::string& address) {
    return "Name:    " + name + "\r\nAddress: " + address + "\r\n\r\n";
}

// An AS number has no address: its header is the one line that names it.
std::string AsNumberHeader(const std::string& asNumber) {
    return "AS number: " + asNumber + "\r\n\r\n";
}

LocateAnswer::Ending EndingOf(LookupEnding ending) {
    switch (ending) {
        case LookupEnding::Record:
            return LocateAnswer::Ending::Record;
        case LookupEnding::Private:
            return LocateAnswer::Ending::Private;
        case LookupEnding::Loopback:
            return LocateAnswer::Ending::Loopback;
        case LookupEnding::Failed:
            break;
    }
    return LocateAnswer::Ending::Failed;
}

}  // namespace

CLocateCommand::CLocateCommand(ILocateView& view, ISocketLibrary& sockets, CSharedExchanges* shared)
    : m_view(view), m_sockets(sockets), m_shared(shared) {}

LocateOutcome CLocateCommand::OnLocate() {
    if (!Begin()) {
        return LocateOutcome::EmptyDestination;
    }
    Run(m_view);
    return Finish();
}

bool CLocateCommand::Begin() {
    m_destination = ReadDestination(m_view.GetAddressText());
    m_answer = LocateAnswer{};
    m_answer.kind = KindOf(m_destination);

    EnableInput(false);
    m_view.SetInformationText(LoadStringResource(IDS_QUERYING));
    m_view.RepaintNow();

    if (m_answer.kind == DestinationKind::None) {
        m_view.ShowMessageBox(LoadStringResource(IDS_ENTER_ADDRESS), MessageIcon::Exclamation);
        EnableInput(true);
        m_view.SetInformationText(LoadStringResource(IDS_READY));
        return false;
    }
    if (ReadingChangedIt(m_destination)) {
        m_view.OnDestinationRead(m_destination);
    }
    return true;
}

void CLocateCommand::Run(ILookupFeedback& feedback) {
    m_feedback = &feedback;
    CWhoisClient client(m_sockets, feedback, m_shared);
    std::optional<LookupAnswer> found =
        std::visit([&](const auto& read) { return Locate(read, client); }, m_destination.value);
    if (!found) {
        m_outcome = LocateOutcome::Unresolved;
        m_answer.ending = LocateAnswer::Ending::Unresolved;
        return;
    }
    m_outcome = found->ending == LookupEnding::Failed ? LocateOutcome::QueryFailed
                                                      : LocateOutcome::Answered;
    m_answer.ending = EndingOf(found->ending);
    m_answer.lookup = std::move(*found);
    m_shownText = HeaderText() + m_answer.lookup.report;
}

LocateOutcome CLocateCommand::Finish() {
    if (m_outcome == LocateOutcome::Unresolved) {
        m_view.SetInformationText(LoadStringResource(IDS_READY));
    } else {
        m_view.SetInformationText(m_shownText);
    }
    EnableInput(true);
    return m_outcome;
}

// Begin ends the command when nothing was typed: Run never sees no destination.
std::optional<LookupAnswer> CLocateCommand::Locate(const NoDestination&, CWhoisClient&) {
    return std::nullopt;
}

// A dotted address is named by its reverse entry; it is shown and asked about as read.
std::optional<LookupAnswer> CLocateCommand::Locate(const Ipv4Destination& read,
                                                   CWhoisClient& client) {
    if (!NameAddress(m_sockets.GetHostByAddr(read.address), read.text)) {
        return std::nullopt;
    }
    return LookupAddress(client, read.text);
}

std::optional<LookupAnswer> CLocateCommand::Locate(const Ipv6Destination& read,
                                                   CWhoisClient& client) {
    const std::string addressText = FormatIpv6Address(read.address);
    if (!NameAddress(m_sockets.GetHostByAddr6(read.address), addressText)) {
        return std::nullopt;
    }
    return LookupAddress(client, addressText);
}

// A prefix names a network, not a host: no resolver is asked, and it stands as its own name.
std::optional<LookupAnswer> CLocateCommand::Locate(const Prefix& read, CWhoisClient& client) {
    m_answer.name = read.text;
    m_answer.address = read.text;
    return LookupPrefix(client, read);
}

std::optional<LookupAnswer> CLocateCommand::Locate(const AsNumber& read, CWhoisClient& client) {
    m_answer.name = AsNumberText(read.value);
    m_answer.address = m_answer.name;
    return LookupAsNumber(client, read.value);
}

// A host name is shown as read, with the address the registries are asked about.
std::optional<LookupAnswer> CLocateCommand::Locate(const HostName& read, CWhoisClient& client) {
    const std::optional<std::string> addressText = ResolveHostName(read.name);
    if (!addressText) {
        return std::nullopt;
    }
    m_answer.name = read.name;
    m_answer.address = *addressText;
    return LookupAddress(client, *addressText);
}

// An address without a name stands as its own name; any other failure is the resolve failure.
bool CLocateCommand::NameAddress(const std::optional<std::string>& reverseName,
                                 const std::string& address) {
    if (!reverseName && m_sockets.LastError() != ISocketLibrary::kErrorNoData) {
        ReportResolveFailure();
        return false;
    }
    m_answer.name = reverseName ? *reverseName : address;
    m_answer.address = address;
    return true;
}

// A host name's first IPv4 address; only a name the resolver says has no IPv4 address at all
// is asked about by its first IPv6 address. The resolver is asked about an international
// name's ASCII form.
std::optional<std::string> CLocateCommand::ResolveHostName(const std::string& hostName) {
    const std::optional<std::string> asciiName = AsciiHostName(hostName);
    if (!asciiName) {
        ReportResolveFailure();  // not UTF-8, or no name IDNA allows
        return std::nullopt;
    }
    const std::optional<HostEntry> host = m_sockets.GetHostByName(*asciiName);
    if (host && !host->addresses.empty()) {
        return FormatDottedAddress(host->addresses.front());
    }
    if (host || m_sockets.LastError() == ISocketLibrary::kErrorNoData) {
        const std::optional<std::vector<Ipv6Address>> addresses6 =
            m_sockets.GetHostByName6(*asciiName);
        if (addresses6 && !addresses6->empty()) {
            return LookupText(addresses6->front());
        }
    }
    ReportResolveFailure();
    return std::nullopt;
}

std::string CLocateCommand::HeaderText() const {
    if (m_answer.kind == DestinationKind::AsNumber) {
        return AsNumberHeader(m_answer.name);
    }
    return Header(m_answer.name, m_answer.address);
}

void CLocateCommand::EnableInput(bool enable) {
    m_view.EnableAddressBox(enable);
    m_view.EnableLocateButton(enable);
    if (enable) {
        m_view.EndWaitCursor();
        m_view.FocusAddressBox();
    } else {
        m_view.BeginWaitCursor();
    }
}

void CLocateCommand::ReportResolveFailure() {
    m_feedback->ShowMessageBox(LoadStringResource(IDS_RESOLVE_FAILED), MessageIcon::Exclamation);
}

}  // namespace quorvel
