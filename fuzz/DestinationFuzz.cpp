// The destination reader on arbitrary text: it always names exactly one kind of destination,
// consistent with the text it read; and an address, prefix or AS number, written as the header
// shows it, reads back as the same destination.
#include <cstdint>
#include <string>
#include <string_view>

#include "Destination.h"
#include "DottedAddress.h"
#include "FuzzCheck.h"
#include "Ipv6Address.h"

namespace {

using namespace quorvel;

// Each kind agrees with the text the rules left.
void CheckKind(const Destination& destination) {
    const DestinationKind kind = KindOf(destination);
    QUORVEL_FUZZ_CHECK(destination.text.empty() == (kind == DestinationKind::None));
    QUORVEL_FUZZ_CHECK(KindName(kind).empty() == (kind == DestinationKind::None));
    // Every rule only drops characters or writes a defanged form shorter.
    QUORVEL_FUZZ_CHECK(destination.text.size() <= destination.typed.size());
    if (const auto* ipv4 = std::get_if<Ipv4Destination>(&destination.value)) {
        const std::uint32_t dotted = ParseDottedAddress(ipv4->text);
        QUORVEL_FUZZ_CHECK(dotted != kInaddrNone && ToNetworkBytes(dotted) == ipv4->address);
    }
    if (const auto* ipv6 = std::get_if<Ipv6Destination>(&destination.value)) {
        QUORVEL_FUZZ_CHECK(!MappedIpv4Address(ipv6->address));
    }
    if (const auto* prefix = std::get_if<Prefix>(&destination.value)) {
        QUORVEL_FUZZ_CHECK(prefix->length <= (prefix->IsIpv6() ? 128U : 32U));
        QUORVEL_FUZZ_CHECK(ParsePrefix(prefix->text) == *prefix);
    }
    if (const auto* host = std::get_if<HostName>(&destination.value)) {
        QUORVEL_FUZZ_CHECK(host->name == destination.text);
        QUORVEL_FUZZ_CHECK(!ParseAsNumber(host->name) && !ParsePrefix(host->name));
        QUORVEL_FUZZ_CHECK(ParseDottedAddress(host->name) == kInaddrNone);
        QUORVEL_FUZZ_CHECK(!ParseIpv6Address(host->name));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    const Destination destination = ReadDestination(typed);
    CheckKind(destination);

    // What the header shows of an address, a prefix or an AS number reads back as itself.
    if (KindOf(destination) != DestinationKind::HostName) {
        const Destination again = ReadDestination(ReadText(destination));
        QUORVEL_FUZZ_CHECK(again.value == destination.value);
        QUORVEL_FUZZ_CHECK(ReadText(again) == ReadText(destination));
    }
    return 0;
}
