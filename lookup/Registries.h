// The regional registries the lookup asks, and IANA, which refers IPv6 addresses and AS numbers
// to them; each at its public whois server (port 43).
#pragma once

#include <optional>
#include <string_view>

#include "ByteText.h"

namespace quorvel {

enum class Registry { Apnic, Twnic, Arin, RipeNcc, Lacnic, Afrinic, Iana };

struct RegistryServer {
    Registry registry;
    std::string_view name;
    std::string_view host;
};

inline constexpr RegistryServer kRegistryServers[] = {
    {Registry::Apnic, "APNIC", "whois.apnic.net"},        // asked first, for every address
    {Registry::Twnic, "TWNIC", "whois.twnic.net.tw"},     // adds to APNIC's "-TW" records
    {Registry::Arin, "ARIN", "whois.arin.net"},           // North America, and ERX/IANA blocks
    {Registry::RipeNcc, "RIPE NCC", "whois.ripe.net"},    // Europe, Middle East
    {Registry::Lacnic, "LACNIC", "whois.lacnic.net"},     // Latin America and the Caribbean
    {Registry::Afrinic, "AFRINIC", "whois.afrinic.net"},  // Africa, named by ARIN or IANA
    {Registry::Iana, "IANA", "whois.iana.org"},           // asked first for IPv6 and AS numbers
};

constexpr std::string_view ServerHost(Registry registry) {
    for (const RegistryServer& server : kRegistryServers) {
        if (server.registry == registry) {
            return server.host;
        }
    }
    return {};
}

// The registry's name as the user reads it ("RIPE NCC").
constexpr std::string_view RegistryName(Registry registry) {
    for (const RegistryServer& server : kRegistryServers) {
        if (server.registry == registry) {
            return server.name;
        }
    }
    return {};
}

// The registry whose whois server is `serverHost` (compared without regard to case); none for
// any other host.
inline std::optional<Registry> RegistryServedAt(std::string_view serverHost) {
    for (const RegistryServer& server : kRegistryServers) {
        if (EqualIgnoringCase(serverHost, server.host)) {
            return server.registry;
        }
    }
    return std::nullopt;
}

// The name of the registry at `serverHost`; the host itself for any other server.
inline std::string_view RegistryNameAt(std::string_view serverHost) {
    const std::optional<Registry> registry = RegistryServedAt(serverHost);
    return registry ? RegistryName(*registry) : serverHost;
}

}  // namespace quorvel
