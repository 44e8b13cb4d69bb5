// The LACNIC stage, the end of every chain that reaches it.
#include "Registries.h"
#include "RegistryLookup.h"
#include "Scanners.h"

namespace quorvel {

int RegistryLookup::LacnicStage() {
    if (!Ask(Registry::Lacnic, m_address)) {
        return 0;
    }
    KeepRecordFrom(ScanLacnicReply(m_reply, m_fields));
    if (m_fields.owner.empty()) {
        return RecordEnding();
    }
    // LACNIC's own record keeps its CR LF line ends and is cut before the "% whois" trailer.
    const std::size_t trailer = m_recordText.find("% whois");
    return ShowRecord(m_recordText.substr(0, trailer));
}

}  // namespace quorvel
