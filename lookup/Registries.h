// The regional registries the lookup asks, and IANA, which refers IPv6 addresses to them; each
// at its public whois server (port 43).
#pragma once

#include <string_view>

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
    {Registry::Iana, "IANA", "whois.iana.org"},           // asked first for IPv6 addresses
};

constexpr std::string_view ServerHost(Registry registry) {
    for (const RegistryServer& server : kRegistryServers) {
        if (server.registry == registry) {
            return server.host;
        }
    }
    return {};
}

}  // namespace quorvel
