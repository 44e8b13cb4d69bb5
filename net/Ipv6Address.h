// IPv6 addresses in text: reading the notation of RFC 4291 as inet_pton(AF_INET6) reads it,
// and writing the one canonical text of RFC 5952 that is shown and sent to the registries.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "SocketLibrary.h"

namespace quorvel {

// The address the WHOLE text names: eight groups of one to four hex digits (either case)
// separated by ':'; one "::" standing for one or more zero groups; the last 32 bits may be a
// dotted quad (four decimal parts of 0-255, no leading zeros). Nothing else is accepted: no
// zone index ("%eth0"), no brackets, no blanks.
std::optional<Ipv6Address> ParseIpv6Address(std::string_view text);

// The canonical text: lower case, no leading zeros, the longest run of two or more zero groups
// written "::" (the first run on a tie), never a dotted quad.
std::string FormatIpv6Address(const Ipv6Address& address);

// The IPv4 address an IPv4-mapped address (::ffff:a.b.c.d) carries; none for any other.
std::optional<Ipv4Address> MappedIpv4Address(const Ipv6Address& address);

// The text an IPv6 address is shown and asked about as: an IPv4-mapped one as its dotted IPv4
// address, any other in its canonical form.
std::string LookupText(const Ipv6Address& address);

}  // namespace quorvel
