// The lookup driver: the addresses answered without asking anyone, the route on network names,
// and the record ending that most chains end in. The stages follow in IanaStage.cpp,
// ApnicStage.cpp, ArinStage.cpp, RipeStage.cpp, LacnicStage.cpp, AfrinicStage.cpp and
// AsNumberStage.cpp.
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

LookupAnswer LookupAddress(CWhoisClient& client, const std::string& address) {
    const std::optional<Ipv6Address> ipv6 = ParseIpv6Address(address);
    if (!ipv6) {
        return RegistryLookup(client, address).Run();
    }
    // An IPv6 text is asked in its canonical form; an IPv4-mapped one as its IPv4 address.
    if (MappedIpv4Address(*ipv6)) {
        return RegistryLookup(client, LookupText(*ipv6)).Run();
    }
    return RegistryLookup(client, LookupText(*ipv6), *ipv6).Run();
}

LookupAnswer LookupPrefix(CWhoisClient& client, const Prefix& prefix) {
    if (const Ipv6Address* network = std::get_if<Ipv6Address>(&prefix.network)) {
        return RegistryLookup(client, prefix.text, *network).Run();
    }
    return RegistryLookup(client, prefix.text).Run();
}

LookupAnswer LookupAsNumber(CWhoisClient& client, std::uint32_t asNumber) {
    return RegistryLookup(client, asNumber).Run();
}

bool IsFailedReply(const std::string& reply) {
    return StartsWith(reply, "FAILED");
}

RegistryLookup::RegistryLookup(CWhoisClient& client, std::string queryText)
    : m_client(client), m_address(std::move(queryText)) {}

RegistryLookup::RegistryLookup(CWhoisClient& client, std::string queryText, const Ipv6Address& ipv6)
    : m_client(client), m_address(std::move(queryText)), m_ipv6(ipv6) {}

RegistryLookup::RegistryLookup(CWhoisClient& client, std::uint32_t asNumber)
    : m_client(client), m_address(AsNumberText(asNumber)), m_asNumber(asNumber) {}

LookupAnswer RegistryLookup::Run() {
    m_answer.report = LoadStringResource(IDS_QUERY_FAILED);
    if (m_asNumber) {
        IanaStage();  // AS numbers have no texts of their own: IANA's record says what is reserved
    } else if (m_ipv6) {
        LookupIpv6(*m_ipv6);
    } else {
        LookupIpv4();
    }
    return std::move(m_answer);
}

int RegistryLookup::LookupIpv4() {
    // Only these leading texts are answered without asking anyone.
    if (StartsWith(m_address, "192.168.") || StartsWith(m_address, "10.")) {
        return ShowWithoutAsking(LookupEnding::Private, IDS_PRIVATE_ADDRESS);
    }
    if (StartsWith(m_address, "127.")) {
        return ShowWithoutAsking(LookupEnding::Loopback, IDS_LOOPBACK_ADDRESS);
    }
    return ApnicStage();
}

// IPv6 addresses that no registry holds are answered at once; IANA refers every other one to
// the registry that holds it.
int RegistryLookup::LookupIpv6(const Ipv6Address& address) {
    if (IsIpv6Loopback(address)) {
        return ShowWithoutAsking(LookupEnding::Loopback, IDS_LOOPBACK_ADDRESS);
    }
    if (IsIpv6Private(address)) {
        return ShowWithoutAsking(LookupEnding::Private, IDS_PRIVATE_ADDRESS);
    }
    return IanaStage();
}

bool RegistryLookup::Ask(Registry registry, const std::string& queryText) {
    if (m_client.SetServer(std::string(ServerHost(registry))) == 0) {
        return false;
    }
    m_reply = m_client.Query(queryText);
    m_replyRegistry = registry;
    return !IsFailedReply(m_reply);
}

void RegistryLookup::KeepRecordFrom(std::optional<std::size_t> recordStart) {
    if (recordStart) {
        KeepRecord(*recordStart);
    }
}

void RegistryLookup::KeepRecord(std::size_t recordStart) {
    m_recordText = m_reply.substr(recordStart);
    m_recordRegistry = m_replyRegistry;
    m_recordReply = m_reply;
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
    return ShowRecord(ReplaceAll(m_recordText, "\n", "\r\n"));
}

int RegistryLookup::ShowRecord(std::string report) {
    m_answer.ending = LookupEnding::Record;
    m_answer.report = std::move(report);
    m_answer.registry = m_recordRegistry;
    m_answer.asRecord = m_asNumber.has_value();
    m_answer.reply = m_recordReply;
    return 1;
}

// The private and loopback texts end the lookup with nothing to show of a registry.
int RegistryLookup::ShowWithoutAsking(LookupEnding ending, unsigned textId) {
    m_answer.ending = ending;
    m_answer.report = LoadStringResource(textId);
    return 0;
}

}  // namespace quorvel
