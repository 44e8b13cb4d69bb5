// The registry lookup: who holds an address, a prefix or an AS number, asked of the registries'
// whois servers through one client, and what the lookup found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Destination.h"
#include "Registries.h"
#include "WhoisClient.h"

namespace quorvel {

// How a lookup ended.
enum class LookupEnding {
    Record,    // a registry's record (or a registry's whole reply about an AS number)
    Private,   // "This is a private IP address.", without asking anyone
    Loopback,  // "This is a loopback address for this local computer.", likewise
    Failed,    // "Failed to query.": a registry could not be asked, or the chain found nothing
};

struct LookupAnswer {
    LookupEnding ending = LookupEnding::Failed;
    // The text to show below the header.
    std::string report;
    // Whose reply the record shown was cut from; none when no reply gave one. A record with
    // TWNIC's addition is APNIC's.
    std::optional<Registry> registry;
    // The record is a registry's answer about an AS number.
    bool asRecord = false;
    // The whole reply the record was cut from (an organisation's name may stand anywhere in it).
    std::string reply;

    // 1 when the report is a registry's record, 0 otherwise.
    int Found() const { return ending == LookupEnding::Record ? 1 : 0; }
};

// An address: a dotted IPv4 address as typed (IPv4's chain from APNIC, after the private and
// loopback texts), or an IPv6 address in any text (IANA first, asked in canonical text; an
// IPv4-mapped one as its dotted address).
LookupAnswer LookupAddress(CWhoisClient& client, const std::string& address);

// A prefix: the address lookup of its network, asked with the prefix's text at every registry.
LookupAnswer LookupPrefix(CWhoisClient& client, const Prefix& prefix);

// An AS number: IANA first, then the registry it refers to.
LookupAnswer LookupAsNumber(CWhoisClient& client, std::uint32_t asNumber);

}  // namespace quorvel
