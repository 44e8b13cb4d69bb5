// The classic dotted notation of IPv4 addresses: parsing (inet_addr) and printing (inet_ntoa).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "SocketLibrary.h"

namespace quorvel {

constexpr std::uint32_t kInaddrNone = 0xFFFFFFFFu;  // INADDR_NONE: "not an address"

// The address that the WHOLE text names in dotted notation, as a host-order number, or
// kInaddrNone. One to four parts separated by '.', each decimal, octal (leading 0) or hex (0x or
// 0X): a.b.c.d; a.b.c with c filling 16 bits; a.b with b filling 24 bits; a alone 32 bits.
// 255.255.255.255 gives kInaddrNone itself and so counts as "not an address".
std::uint32_t ParseDottedAddress(std::string_view text);

// The address a text names in strict dotted-decimal notation, as inet_pton reads it: exactly four
// decimal parts of 0-255, no leading zeros, nothing else. None for any other text.
std::optional<Ipv4Address> ParseDottedQuad(std::string_view text);

// The four bytes of a host-order address, in network order.
Ipv4Address ToNetworkBytes(std::uint32_t hostOrder);

// The dotted-decimal text of an address ("192.0.2.1").
std::string FormatDottedAddress(const Ipv4Address& address);

}  // namespace quorvel
