// Name look-ups through getaddrinfo and getnameinfo, which BSD sockets and Winsock (from
// Windows XP on) both have, and the one rule for the resolver's failures.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "SocketLibrary.h"

namespace quorvel {

// The resolver's authoritative "no such record" (a name that does not exist or has no address
// of the family asked for; an address without a name) as ISocketLibrary::kErrorNoData; every
// other failure, a server that could not be asked among them, keeps its own code.
int ResolverErrorCode(int code);

// A host's stream addresses of one family, first one first (getaddrinfo, neither AF_UNSPEC nor
// AI_ADDRCONFIG), or none with ResolverErrorCode's reason in `error`.
std::optional<std::vector<Ipv4Address>> LookUpIpv4Addresses(const std::string& hostName,
                                                            int& error);
std::optional<std::vector<Ipv6Address>> LookUpIpv6Addresses(const std::string& hostName,
                                                            int& error);

// The name of an address (getnameinfo with NI_NAMEREQD), or none with the reason in `error`.
std::optional<std::string> LookUpIpv4Name(const Ipv4Address& address, int& error);
std::optional<std::string> LookUpIpv6Name(const Ipv6Address& address, int& error);

}  // namespace quorvel
