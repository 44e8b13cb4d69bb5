#include "LocateCommand.h"

#include "DottedAddress.h"
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

// A destination pasted with blanks or a line end around it means the text between them.
std::string WithoutSurroundingBlanks(const std::string& text) {
    constexpr char kBlanks[] = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
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
    m_addressText = WithoutSurroundingBlanks(m_view.GetAddressText());

    EnableInput(false);
    m_view.SetInformationText(LoadStringResource(IDS_QUERYING));
    m_view.RepaintNow();

    if (m_addressText.empty()) {
        m_view.ShowMessageBox(LoadStringResource(IDS_ENTER_ADDRESS), MessageIcon::Exclamation);
        EnableInput(true);
        m_view.SetInformationText(LoadStringResource(IDS_READY));
        return false;
    }
    return true;
}

void CLocateCommand::Run(ILookupFeedback& feedback) {
    m_feedback = &feedback;
    const std::optional<std::string> header = ResolveDestination(m_addressText);
    if (!header) {
        m_outcome = LocateOutcome::Unresolved;
        return;
    }
    std::string report;
    CWhoisClient client(m_sockets, feedback, m_shared);
    const int foundRecord = client.LookupAddress(m_addressText, report);
    const bool queryFailed = foundRecord == 0 && report == LoadStringResource(IDS_QUERY_FAILED);
    m_outcome = queryFailed ? LocateOutcome::QueryFailed : LocateOutcome::Answered;
    m_shownText = *header + report;
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

std::optional<std::string> CLocateCommand::ResolveDestination(std::string& addressText) {
    if (ParseDottedAddress(addressText) != kInaddrNone) {
        return NameDottedAddress(addressText);
    }
    if (const std::optional<Ipv6Address> address = ParseIpv6Address(addressText)) {
        addressText = LookupText(*address);
        if (MappedIpv4Address(*address)) {
            return NameDottedAddress(addressText);  // as if the dotted address had been typed
        }
        return NameIpv6Address(*address, addressText);
    }
    return ResolveHostName(addressText);
}

// A dotted address is named by its reverse entry; the text stays as typed.
std::optional<std::string> CLocateCommand::NameDottedAddress(const std::string& addressText) {
    const Ipv4Address address = ToNetworkBytes(ParseDottedAddress(addressText));
    return HeaderNamedBy(m_sockets.GetHostByAddr(address), addressText);
}

std::optional<std::string> CLocateCommand::NameIpv6Address(const Ipv6Address& address,
                                                           const std::string& addressText) {
    return HeaderNamedBy(m_sockets.GetHostByAddr6(address), addressText);
}

// The header for an address and its reverse lookup's answer: an address without a name stands
// as its own name; any other failure is the resolve failure.
std::optional<std::string> CLocateCommand::HeaderNamedBy(const std::optional<std::string>& name,
                                                         const std::string& addressText) {
    if (name) {
        return Header(*name, addressText);
    }
    if (m_sockets.LastError() == ISocketLibrary::kErrorNoData) {
        return Header(addressText, addressText);
    }
    ReportResolveFailure();
    return std::nullopt;
}

// A host name is shown as typed, with its first IPv4 address; only a name the resolver says
// has no IPv4 address at all is shown with its first IPv6 address.
std::optional<std::string> CLocateCommand::ResolveHostName(std::string& addressText) {
    const std::string hostName = addressText;
    const std::optional<HostEntry> host = m_sockets.GetHostByName(hostName);
    if (host && !host->addresses.empty()) {
        addressText = FormatDottedAddress(host->addresses.front());
        return Header(hostName, addressText);
    }
    if (host || m_sockets.LastError() == ISocketLibrary::kErrorNoData) {
        const std::optional<std::vector<Ipv6Address>> addresses6 =
            m_sockets.GetHostByName6(hostName);
        if (addresses6 && !addresses6->empty()) {
            addressText = LookupText(addresses6->front());
            return Header(hostName, addressText);
        }
    }
    ReportResolveFailure();
    return std::nullopt;
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
