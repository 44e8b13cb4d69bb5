#include "LocateCommand.h"

#include "DottedAddress.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "WhoisClient.h"

namespace quorvel {
namespace {

// "Name:" and "Address:" padded to nine characters, CR LF line ends, an empty line after.
std::string Header(const std::string& name, const std::string& address) {
    return "Name:    " + name + "\r\nAddress: " + address + "\r\n\r\n";
}

}  // namespace

CLocateCommand::CLocateCommand(ILocateView& view, ISocketLibrary& sockets)
    : m_view(view), m_sockets(sockets) {}

LocateOutcome CLocateCommand::OnLocate() {
    std::string addressText = m_view.GetAddressText();
    std::string report;
    CWhoisClient client(m_sockets, m_view);

    EnableInput(false);
    m_view.SetInformationText(LoadStringResource(IDS_QUERYING));
    m_view.RepaintNow();

    if (addressText.empty()) {
        m_view.ShowMessageBox(LoadStringResource(IDS_ENTER_ADDRESS), MessageIcon::Exclamation);
        EnableInput(true);
        m_view.SetInformationText(LoadStringResource(IDS_READY));
        return LocateOutcome::EmptyDestination;
    }

    const std::optional<std::string> header = ResolveDestination(addressText);
    if (!header) {
        return LocateOutcome::Unresolved;
    }

    const int foundRecord = client.LookupAddress(addressText, report);
    const bool queryFailed = foundRecord == 0 && report == LoadStringResource(IDS_QUERY_FAILED);
    m_view.SetInformationText(*header + report);
    EnableInput(true);
    return queryFailed ? LocateOutcome::QueryFailed : LocateOutcome::Answered;
}

std::optional<std::string> CLocateCommand::ResolveDestination(std::string& addressText) {
    const std::uint32_t parsed = ParseDottedAddress(addressText);
    if (parsed != kInaddrNone) {
        // A dotted address is named by its reverse entry; the text stays as typed.
        if (const std::optional<std::string> name =
                m_sockets.GetHostByAddr(ToNetworkBytes(parsed))) {
            return Header(*name, addressText);
        }
        if (m_sockets.LastError() == ISocketLibrary::kErrorNoData) {
            return Header(addressText, addressText);  // no name: the address is its own name
        }
        ReportResolveFailure();
        return std::nullopt;
    }
    // A host name is shown as typed, with the dotted form of its first address.
    const std::optional<HostEntry> host = m_sockets.GetHostByName(addressText);
    if (!host || host->addresses.empty()) {
        ReportResolveFailure();
        return std::nullopt;
    }
    const std::string hostName = addressText;
    addressText = FormatDottedAddress(host->addresses.front());
    return Header(hostName, addressText);
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
    m_view.ShowMessageBox(LoadStringResource(IDS_RESOLVE_FAILED), MessageIcon::Exclamation);
    m_view.SetInformationText(LoadStringResource(IDS_READY));
    EnableInput(true);
}

}  // namespace quorvel
