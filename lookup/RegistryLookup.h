// One registry lookup: the state it keeps while it walks the referral chain (APNIC, with the
// TWNIC addition, then ARIN, RIPE NCC or LACNIC as the replies direct) and its stages.
#pragma once

#include <string>

#include "ReplyScanner.h"
#include "WhoisClient.h"

namespace quorvel {

// Network names that send the lookup on to another registry. The lookup also sets them itself
// to route an address.
inline constexpr char kArinCidrBlock[] = "ARIN-CIDR-BLOCK";
inline constexpr char kErxNetblock[] = "ERX-NETBLOCK";
inline constexpr char kRipeCidrBlock[] = "RIPE-CIDR-BLOCK";
inline constexpr char kLacnicCidrBlock[] = "LACNIC-CIDR-BLOCK";

class RegistryLookup {
public:
    RegistryLookup(CWhoisClient& client, std::string address, std::string& report);

    // Runs the lookup; 1 when a registry record was placed in the report.
    int Run();

private:
    // The chain, in the order a lookup walks it (RegistryLookup.cpp, ApnicStage.cpp,
    // ArinStage.cpp, RipeStage.cpp, LacnicStage.cpp). Each stage returns the lookup's result:
    // 1 when its ending placed a record in the report, 0 for the failure ending.
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
    int RecordEnding();

    // SetServer and Query for one registry; false when either failed (the failure ending).
    bool Ask(const std::string& serverHost, const std::string& queryText);
    // Keeps the record a scanner found; an earlier stage's record stays otherwise.
    void KeepRecordFrom(std::optional<std::size_t> recordStart);

    CWhoisClient& m_client;
    std::string& m_report;
    const std::string m_address;
    std::string m_reply;
    // The best record so far: the tail of a reply from the line where its record begins.
    std::string m_recordText;
    ScanFields m_fields;
};

// Replies that begin with "FAILED" are the client's failure lines.
bool IsFailedReply(const std::string& reply);

}  // namespace quorvel
