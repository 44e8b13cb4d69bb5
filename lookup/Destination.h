// Reading a destination: what a user typed or pasted (a URL, an address with a port, a mail
// header's bracketed address, a threat report's defanged name, an AS number, a prefix) turned
// into what it names. The Locate command, and everything else that takes a destination, reads
// it here once and then works on the result, never on the text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "SocketLibrary.h"

namespace quorvel {

// Nothing was left once blanks and pasted forms were taken away.
struct NoDestination {
    bool operator==(const NoDestination&) const { return true; }
};

// A dotted IPv4 address in any form the classic parser takes (short, octal and hex forms too).
// `text` is what is shown and asked: the address as read, or the dotted text of an IPv4-mapped
// IPv6 address.
struct Ipv4Destination {
    std::string text;
    Ipv4Address address;
    bool operator==(const Ipv4Destination& other) const {
        return text == other.text && address == other.address;
    }
};

// An IPv6 address (not IPv4-mapped), shown and asked in its canonical text.
struct Ipv6Destination {
    Ipv6Address address;
    bool operator==(const Ipv6Destination& other) const { return address == other.address; }
};

// A network written address/length. Its host bits are cleared: `text` is the network's
// canonical address, '/', the length ("8.8.8.0/24", "2001:db8::/32").
struct Prefix {
    std::variant<Ipv4Address, Ipv6Address> network;
    unsigned length = 0;
    std::string text;
    bool IsIpv6() const { return std::holds_alternative<Ipv6Address>(network); }
    bool operator==(const Prefix& other) const {
        return network == other.network && length == other.length && text == other.text;
    }
};

// An autonomous system number, 0 to 4294967295.
struct AsNumber {
    std::uint32_t value = 0;
    bool operator==(const AsNumber& other) const { return value == other.value; }
};

// Anything else: a name for the resolver, as read.
struct HostName {
    std::string name;
    bool operator==(const HostName& other) const { return name == other.name; }
};

using DestinationValue =
    std::variant<NoDestination, Ipv4Destination, Ipv6Destination, Prefix, AsNumber, HostName>;

struct Destination {
    std::string typed;  // the text with the blanks and line ends around it dropped
    std::string text;   // what the pasted-form rules left of it
    DestinationValue value;
};

// In the order they are tried after the blanks around the text are dropped: defanged dots
// ("[.]", "(dot)") made dots; surrounding brackets, quotes and angle brackets taken off; a URL's
// host; "[X]" and "[X]:port"; a mail header's "IPv6:" literal; "host:port"; an IPv6 address's
// zone index. Then what is left is read as an AS number, a prefix, a dotted IPv4 address, an
// IPv6 address, or else a host name.
Destination ReadDestination(std::string_view typed);

// The kinds a destination is reported as; both address families are an address.
enum class DestinationKind { None, Address, Prefix, AsNumber, HostName };
DestinationKind KindOf(const Destination& destination);
// "address", "prefix", "as", "name"; empty for no destination.
std::string_view KindName(DestinationKind kind);

// "AS" and the number in plain decimal ("AS15169").
std::string AsNumberText(std::uint32_t value);

// The destination as read, as the answer's header shows it: the dotted address as read, an
// IPv6 address's canonical text, the prefix, "AS<n>", the host name; empty for none.
std::string ReadText(const Destination& destination);

// Whether reading changed what was typed: a pasted form was taken apart, or an AS number or a
// prefix is written otherwise than typed. The command line names such a reading when verbose.
bool ReadingChangedIt(const Destination& destination);

// The parts of the reading that other readers share.
std::optional<std::uint32_t> ParseAsNumber(std::string_view text);
std::optional<Prefix> ParsePrefix(std::string_view text);

}  // namespace quorvel
