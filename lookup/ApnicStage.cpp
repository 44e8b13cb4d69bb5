// The APNIC stage: every public address is asked of APNIC first; its network name routes the
// address on, and Taiwanese records get TWNIC's addition.
#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "Scanners.h"

namespace quorvel {
namespace {

// Taiwanese blocks APNIC mirrors from TWNIC: the address's leading characters, compared as
// text (so "21." passes too), and a network name ending in "-TW".
bool NeedsTwnicRecord(const std::string& address, const std::string& netName) {
    const std::string_view lead3 = Left(address, 3);
    const std::string_view lead2 = Left(address, 2);
    const bool inBand = (lead3 >= "202" && lead3 <= "211") || (lead2 >= "61" && lead2 <= "64");
    return inBand && Right(netName, 3) == "-TW";
}

}  // namespace

int RegistryLookup::ApnicStage() {
    if (!Ask(Registry::Apnic, m_address)) {
        return 0;
    }
    KeepRecordFrom(ScanApnicReply(m_reply, m_fields));
    AddTwnicRecord();
    // 168.95.x.x is routed to ARIN whatever APNIC answered.
    if (StartsWith(m_address, "168.95")) {
        m_fields.netName = kArinCidrBlock;
    }
    return RouteByNetName();
}

// TWNIC's reply is appended to APNIC's IPv4 records. The addition only adds: a TWNIC server
// that cannot be reached leaves the lookup going on as before.
void RegistryLookup::AddTwnicRecord() {
    if (m_ipv6 || !NeedsTwnicRecord(m_address, m_fields.netName)) {
        return;
    }
    if (m_client.SetServer(std::string(ServerHost(Registry::Twnic))) == 0) {
        return;
    }
    const std::string twnicReply = m_client.Query(m_address);
    if (!IsFailedReply(twnicReply)) {
        m_recordText += twnicReply;
    }
}

}  // namespace quorvel
