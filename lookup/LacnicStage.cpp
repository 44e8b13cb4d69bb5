// The LACNIC stage, the end of every chain that reaches it.
#include "Registries.h"
#include "RegistryLookup.h"
#include "Scanners.h"

namespace quorvel {

int RegistryLookup::LacnicStage() {
    if (!Ask(std::string(ServerHost(Registry::Lacnic)), m_address)) {
        return 0;
    }
    KeepRecordFrom(ScanLacnicReply(m_reply, m_fields));
    if (m_fields.owner.empty()) {
        return RecordEnding();
    }
    // LACNIC's own record keeps its CR LF line ends and is cut before the "% whois" trailer.
    const std::size_t trailer = m_recordText.find("% whois");
    m_report = trailer == std::string::npos ? m_recordText : m_recordText.substr(0, trailer);
    return 1;
}

}  // namespace quorvel
