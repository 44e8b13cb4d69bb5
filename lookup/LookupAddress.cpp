// The lookup driver and its APNIC stage: every public address is asked of APNIC first, whose
// network name routes it on.
#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "ResourceIds.h"
#include "Scanners.h"
#include "StringTable.h"

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

int CWhoisClient::LookupAddress(const std::string& address, std::string& report) {
    return RegistryLookup(*this, address, report).Run();
}

bool IsFailedReply(const std::string& reply) {
    return StartsWith(reply, "FAILED");
}

RegistryLookup::RegistryLookup(CWhoisClient& client, const std::string& address,
                               std::string& report)
    : m_client(client), m_report(report), m_address(address) {}

int RegistryLookup::Run() {
    m_report = LoadStringResource(IDS_QUERY_FAILED);
    // Only these leading texts are answered without asking anyone.
    if (StartsWith(m_address, "192.168.") || StartsWith(m_address, "10.")) {
        m_report = LoadStringResource(IDS_PRIVATE_ADDRESS);
        return 0;
    }
    if (StartsWith(m_address, "127.")) {
        m_report = LoadStringResource(IDS_LOOPBACK_ADDRESS);
        return 0;
    }
    return ApnicStage();
}

bool RegistryLookup::Ask(const std::string& serverHost, const std::string& queryText) {
    if (m_client.SetServer(serverHost) == 0) {
        return false;
    }
    m_reply = m_client.Query(queryText);
    return !IsFailedReply(m_reply);
}

void RegistryLookup::KeepRecordFrom(std::optional<std::size_t> recordStart) {
    if (recordStart) {
        m_reportStart = m_reply.substr(*recordStart);
    }
}

int RegistryLookup::ApnicStage() {
    if (!Ask(std::string(ServerHost(Registry::Apnic)), m_address)) {
        return 0;
    }
    KeepRecordFrom(ScanApnicReply(m_reply, m_fields));
    AddTwnicRecord();
    // 168.95.x.x is routed to ARIN whatever APNIC answered.
    if (StartsWith(m_address, "168.95")) {
        m_fields.netName = kArinCidrBlock;
    }
    return RouteFromApnic();
}

// TWNIC's reply is appended to APNIC's record. The addition only adds: a TWNIC server that
// cannot be reached leaves the lookup going on as before.
void RegistryLookup::AddTwnicRecord() {
    if (!NeedsTwnicRecord(m_address, m_fields.netName)) {
        return;
    }
    if (m_client.SetServer(std::string(ServerHost(Registry::Twnic))) == 0) {
        return;
    }
    const std::string twnicReply = m_client.Query(m_address);
    if (!IsFailedReply(twnicReply)) {
        m_reportStart += twnicReply;
    }
}

int RegistryLookup::RouteFromApnic() {
    const std::string& netName = m_fields.netName;
    if (netName == kArinCidrBlock || netName == kErxNetblock || StartsWith(netName, "IANA")) {
        return ArinStage();
    }
    if (netName == kRipeCidrBlock) {
        return RipeStage();
    }
    if (netName == kLacnicCidrBlock) {
        return LacnicStage();
    }
    return RecordEnding();
}

// The record as found, with LF line ends shown as CR LF.
int RegistryLookup::RecordEnding() {
    m_report = ReplaceAll(m_reportStart, "\n", "\r\n");
    return 1;
}

}  // namespace quorvel
