// The whole registry lookup, of IPv4 and IPv6 addresses, prefixes and AS numbers, over in-memory
// servers whose replies the fuzzer chooses, so that every referral path, match-list handle and
// ending is reached with hostile bytes. Whatever the servers send, the lookup ends with a report,
// closes every socket it opened, asks each registry at most as often as the referral chain
// allows, sends only single-line queries, and names a registry only for a record it shows.
#include <cstdint>

#include "Destination.h"
#include "FakeSocketLibrary.h"
#include "FuzzCheck.h"
#include "Ipv6Address.h"
#include "Lookup.h"
#include "LookupInput.h"
#include "Registries.h"
#include "ResourceIds.h"
#include "StringTable.h"

namespace {

using quorvel::CWhoisClient;
using quorvel::ILookupFeedback;
using quorvel::MessageIcon;
using quorvel::Registry;
using quorvel::ServerHost;
using quorvel::testing::FakeSocketLibrary;
using namespace quorvel::fuzz;

class SilentFeedback : public ILookupFeedback {
public:
    void ShowMessageBox(const std::string&, MessageIcon) override {}
};

// IANA (IPv6) or APNIC with TWNIC (IPv4) first, then ARIN twice (address and handle), RIPE NCC
// and LACNIC once each; AFRINIC comes instead of RIPE NCC and LACNIC.
constexpr std::size_t kMostRequests = 6;

void AddServer(FakeSocketLibrary& sockets, Registry registry, const std::string& reply,
               const std::string& address) {
    if (reply == kUnresolvedServer) {
        return;
    }
    const std::string host(ServerHost(registry));
    sockets.AddServer(host);
    sockets.SetReply(host, address, reply);
}

// The text the lookup asks IANA or APNIC about: an AS number as "AS<n>", a prefix with its
// host bits cleared, an IPv6 address in canonical text, anything else as it is. ARIN is asked
// "a <n>" about an AS number, and so answers it from its handle section.
std::string AskedText(const std::string& address) {
    if (const std::optional<std::uint32_t> asNumber = quorvel::ParseAsNumber(address)) {
        return quorvel::AsNumberText(*asNumber);
    }
    if (const std::optional<quorvel::Prefix> prefix = quorvel::ParsePrefix(address)) {
        return prefix->text;
    }
    const std::optional<quorvel::Ipv6Address> ipv6 = quorvel::ParseIpv6Address(address);
    return ipv6 ? quorvel::LookupText(*ipv6) : address;
}

// The lookup the address section names: an AS number's, a prefix's, else the address lookup.
quorvel::LookupAnswer LookUp(CWhoisClient& client, const std::string& address) {
    if (const std::optional<std::uint32_t> asNumber = quorvel::ParseAsNumber(address)) {
        return quorvel::LookupAsNumber(client, *asNumber);
    }
    if (const std::optional<quorvel::Prefix> prefix = quorvel::ParsePrefix(address)) {
        return quorvel::LookupPrefix(client, *prefix);
    }
    return quorvel::LookupAddress(client, address);
}

// AS numbers, IPv6 addresses and IPv6 prefixes start at IANA; every other text at APNIC.
bool StartsAtIana(const std::string& address) {
    if (quorvel::ParseAsNumber(address)) {
        return true;
    }
    if (const std::optional<quorvel::Prefix> prefix = quorvel::ParsePrefix(address)) {
        return prefix->IsIpv6();
    }
    const std::optional<quorvel::Ipv6Address> typed = quorvel::ParseIpv6Address(address);
    return typed && !quorvel::MappedIpv4Address(*typed);
}

void ServeSections(FakeSocketLibrary& sockets, const std::vector<std::string>& sections) {
    const std::string address = AskedText(sections[kAddressSection]);
    AddServer(sockets, Registry::Apnic, sections[kApnicSection], address);
    AddServer(sockets, Registry::Twnic, sections[kTwnicSection], address);
    AddServer(sockets, Registry::Arin, sections[kArinAddressSection], address);
    if (sections[kArinAddressSection] != kUnresolvedServer) {
        sockets.SetDefaultReply(std::string(ServerHost(Registry::Arin)),
                                sections[kArinHandleSection]);
    }
    AddServer(sockets, Registry::RipeNcc, sections[kRipeSection], address);
    AddServer(sockets, Registry::Lacnic, sections[kLacnicSection], address);
    AddServer(sockets, Registry::Afrinic, sections[kAfrinicSection], address);
    AddServer(sockets, Registry::Iana, sections[kIanaSection], address);
}

bool IsSingleRequestLine(const std::string& request) {
    const std::size_t lineEnd = request.find_first_of(std::string("\r\n\0", 3));
    return lineEnd != std::string::npos && lineEnd >= 1 && lineEnd + 2 == request.size() &&
           request.compare(lineEnd - 1, 3, " \r\n") == 0;
}

bool IsNonRecordText(const std::string& report) {
    return report == quorvel::LoadStringResource(IDS_QUERY_FAILED) ||
           report == quorvel::LoadStringResource(IDS_PRIVATE_ADDRESS) ||
           report == quorvel::LoadStringResource(IDS_LOOPBACK_ADDRESS);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> sections =
        SplitLookupInput(std::string_view(reinterpret_cast<const char*>(data), size));
    FakeSocketLibrary sockets;
    ServeSections(sockets, sections);
    SilentFeedback feedback;
    CWhoisClient client(sockets, feedback);

    const quorvel::LookupAnswer answer = LookUp(client, sections[kAddressSection]);
    const int found = answer.Found();
    const std::string& report = answer.report;

    QUORVEL_FUZZ_CHECK(found == 0 || found == 1);
    if (found == 0) {
        QUORVEL_FUZZ_CHECK(IsNonRecordText(report));
    }
    QUORVEL_FUZZ_CHECK(sockets.OpenSockets() == 0);
    QUORVEL_FUZZ_CHECK(sockets.Requests().size() <= kMostRequests);
    // An address text that is no IPv6 address, prefix or AS number is read as IPv4, whatever
    // characters it holds.
    const bool iana = StartsAtIana(sections[kAddressSection]);
    for (const FakeSocketLibrary::Request& request : sockets.Requests()) {
        QUORVEL_FUZZ_CHECK(IsSingleRequestLine(request.bytes));
        // TWNIC adds only to IPv4 records; IANA is asked only about IPv6 and AS numbers.
        QUORVEL_FUZZ_CHECK(request.serverHost !=
                           ServerHost(iana ? Registry::Twnic : Registry::Iana));
    }
    // A registry is named, and an AS record told, only for a record shown.
    const bool record = answer.ending == quorvel::LookupEnding::Record;
    QUORVEL_FUZZ_CHECK(record || !answer.registry);
    QUORVEL_FUZZ_CHECK(record || answer.reply.empty());
    QUORVEL_FUZZ_CHECK(answer.asRecord ==
                       (record && quorvel::ParseAsNumber(sections[kAddressSection]).has_value()));
    // The report is cut from the replies; line feeds shown as CR LF at most double it.
    QUORVEL_FUZZ_CHECK(report.size() <= 2 * size + 64);
    return 0;
}
