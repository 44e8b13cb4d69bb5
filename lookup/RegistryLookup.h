// One registry lookup: the state it keeps while it walks the referral chain and its stages. An
// IPv4 address starts at APNIC (with the TWNIC addition), then ARIN, RIPE NCC, LACNIC or AFRINIC
// as the replies direct; an IPv6 address starts at IANA, whose referral names the registry.
#pragma once

#include <string>

#include "Ipv6Address.h"
#include "ReplyScanner.h"
#include "WhoisClient.h"

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
    // An IPv6 address text is asked in its canonical form; an IPv4-mapped one as its IPv4
    // address.
    RegistryLookup(CWhoisClient& client, const std::string& address, std::string& report);

    // Runs the lookup; 1 when a registry record was placed in the report.
    int Run();

private:
    // The chain, in the order a lookup walks it (RegistryLookup.cpp, IanaStage.cpp,
    // ApnicStage.cpp, ArinStage.cpp, RipeStage.cpp, LacnicStage.cpp, AfrinicStage.cpp). Each
    // stage returns the lookup's result: 1 when its ending placed a record in the report, 0 for
    // the failure ending.
    int LookupIpv4();
    int LookupIpv6(const Ipv6Address& address);
    int IanaStage();
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

    // SetServer and Query for one registry; false when either failed (the failure ending).
    bool Ask(const std::string& serverHost, const std::string& queryText);
    // Keeps the record a scanner found; an earlier stage's record stays otherwise.
    void KeepRecordFrom(std::optional<std::size_t> recordStart);

    CWhoisClient& m_client;
    std::string& m_report;
    // The address as every registry is asked about it.
    std::string m_address;
    // Set for an IPv6 address: the TWNIC addition is for IPv4 records only.
    std::optional<Ipv6Address> m_ipv6;
    std::string m_reply;
    // The best record so far: the tail of a reply from the line where its record begins.
    std::string m_recordText;
    ScanFields m_fields;
};

// Replies that begin with "FAILED" are the client's failure lines.
bool IsFailedReply(const std::string& reply);

}  // namespace quorvel
