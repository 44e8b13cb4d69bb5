// One registry lookup: the state it keeps while it walks the referral chain and its stages. An
// IPv4 address starts at APNIC (with the TWNIC addition), then ARIN, RIPE NCC, LACNIC or AFRINIC
// as the replies direct; an IPv6 address and an AS number start at IANA, whose referral names
// the registry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Ipv6Address.h"
#include "Lookup.h"
#include "ReplyScanner.h"

namespace quorvel {

// Network names that send the lookup on to another registry. The lookup also sets them itself
// to route an address.
inline constexpr char kArinCidrBlock[] = "ARIN-CIDR-BLOCK";
inline constexpr char kErxNetblock[] = "ERX-NETBLOCK";
inline constexpr char kRipeCidrBlock[] = "RIPE-CIDR-BLOCK";
inline constexpr char kLacnicCidrBlock[] = "LACNIC-CIDR-BLOCK";
// RIPE NCC's names for space it does not hold: the older one and today's.
inline constexpr char kRipeIanaBlock[] = "IANA-BLK";
inline constexpr char kRipeNonManagedBlock[] = "NON-RIPE-NCC-MANAGED-ADDRESS-BLOCK";

class RegistryLookup {
public:
    // What the registries are asked: an IPv4 address or prefix text, as every registry is asked
    // about it; the same for IPv6, with the address (a prefix's network address) that the
    // answers given without asking look at; or an AS number.
    RegistryLookup(CWhoisClient& client, std::string queryText);
    RegistryLookup(CWhoisClient& client, std::string queryText, const Ipv6Address& ipv6);
    RegistryLookup(CWhoisClient& client, std::uint32_t asNumber);

    LookupAnswer Run();

private:
    // The chain, in the order a lookup walks it (RegistryLookup.cpp, IanaStage.cpp,
    // ApnicStage.cpp, ArinStage.cpp, RipeStage.cpp, LacnicStage.cpp, AfrinicStage.cpp,
    // AsNumberStage.cpp). Each stage returns 1 when its ending placed a record in the answer,
    // 0 for the failure ending.
    int LookupIpv4();
    int LookupIpv6(const Ipv6Address& address);
    int IanaStage();
    int AddressStage(Registry registry);
    int AsNumberStage(Registry registry);
    int ApnicStage();
    void AddTwnicRecord();
    int RouteByNetName();

    // ARIN's replies come in the current layout or the older one; each is read by its rules.
    enum class ArinLayout { Current, Older };
    int ArinStage();
    int ReadArinReply(bool listMayBeFollowed);
    int ReadCurrentArinLayout(bool listMayBeFollowed);
    int AskArinForHandle(const std::string& handle);
    int HandOverToRipe();
    int RouteFromArin(ArinLayout layout);
    int ArinEnding(ArinLayout layout);

    int RipeStage();
    int LacnicStage();
    int AfrinicStage();
    int RecordEnding();
    // The answer is `report`, the record kept last (or a part of it).
    int ShowRecord(std::string report);
    int ShowWithoutAsking(LookupEnding ending, unsigned textId);

    // SetServer and Query for one registry; false when either failed (the failure ending).
    bool Ask(Registry registry, const std::string& queryText);
    // Keeps the record a scanner found; an earlier stage's record stays otherwise.
    void KeepRecordFrom(std::optional<std::size_t> recordStart);
    // Keeps the latest reply's tail from `recordStart` as the record.
    void KeepRecord(std::size_t recordStart);

    CWhoisClient& m_client;
    LookupAnswer m_answer;
    // The address, prefix or "AS<n>" as every registry is asked about it.
    std::string m_address;
    // Set for an IPv6 address or prefix: the TWNIC addition is for IPv4 records only.
    std::optional<Ipv6Address> m_ipv6;
    std::optional<std::uint32_t> m_asNumber;
    std::string m_reply;
    Registry m_replyRegistry = Registry::Iana;  // who sent m_reply
    // The best record so far: the tail of a reply from the line where its record begins, with
    // the registry that sent that reply and the whole reply.
    std::string m_recordText;
    std::optional<Registry> m_recordRegistry;
    std::string m_recordReply;
    ScanFields m_fields;
};

// Replies that begin with "FAILED" are the client's failure lines.
bool IsFailedReply(const std::string& reply);

}  // namespace quorvel
