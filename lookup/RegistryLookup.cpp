// The lookup driver: the addresses answered without asking anyone, the route on network names,
// and the record ending that most chains end in. The stages follow in IanaStage.cpp,
// ApnicStage.cpp, ArinStage.cpp, RipeStage.cpp, LacnicStage.cpp and AfrinicStage.cpp.
#include "RegistryLookup.h"

#include "ByteText.h"
#include "Registries.h"
#include "ResourceIds.h"
#include "StringTable.h"

namespace quorvel {
namespace {

bool IsIpv6Loopback(const Ipv6Address& address) {
    return address == Ipv6Address{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
}

// Link-local (fe80::/10) and unique local (fc00::/7) addresses, which no registry holds.
bool IsIpv6Private(const Ipv6Address& address) {
    const bool linkLocal = address[0] == 0xFE && (address[1] & 0xC0) == 0x80;
    const bool uniqueLocal = (address[0] & 0xFE) == 0xFC;
    return linkLocal || uniqueLocal;
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
    : m_client(client), m_report(report), m_address(address), m_ipv6(ParseIpv6Address(address)) {
    if (!m_ipv6) {
        return;
    }
    m_address = LookupText(*m_ipv6);
    if (MappedIpv4Address(*m_ipv6)) {
        m_ipv6.reset();
    }
}

int RegistryLookup::Run() {
    m_report = LoadStringResource(IDS_QUERY_FAILED);
    return m_ipv6 ? LookupIpv6(*m_ipv6) : LookupIpv4();
}

int RegistryLookup::LookupIpv4() {
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

// IPv6 addresses that no registry holds are answered at once; IANA refers every other one to
// the registry that holds it.
int RegistryLookup::LookupIpv6(const Ipv6Address& address) {
    if (IsIpv6Loopback(address)) {
        m_report = LoadStringResource(IDS_LOOPBACK_ADDRESS);
        return 0;
    }
    if (IsIpv6Private(address)) {
        m_report = LoadStringResource(IDS_PRIVATE_ADDRESS);
        return 0;
    }
    return IanaStage();
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
        m_recordText = m_reply.substr(*recordStart);
    }
}

// A network name APNIC gives, or a marker a stage set, sends the address on; any other name
// means the record found is the one to show.
int RegistryLookup::RouteByNetName() {
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
    m_report = ReplaceAll(m_recordText, "\n", "\r\n");
    return 1;
}

}  // namespace quorvel
