// The ARIN stage: ARIN's record, or a hand-over to RIPE NCC or LACNIC by the organisation ARIN
// names.
#include <cctype>

#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "Scanners.h"

namespace quorvel {
namespace {

constexpr std::size_t kMaxHandle = 51;  // a longer handle is cut to its first 51 characters

bool StartsWithLetter(const std::string& reply) {
    if (reply.empty()) {
        return false;
    }
    const auto first = static_cast<unsigned char>(reply.front());
    return (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
}

// A reply that lists matches ("Level 3 Communications LVLT-ORG-8-8 (NET-8-0-0-0-1) ...") names
// the first entry's handle between parentheses. None when there is no '(' with a ')' after it.
std::optional<std::string> FirstMatchHandle(const std::string& reply) {
    const std::size_t open = reply.find('(');
    if (open == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t close = reply.find(')', open + 1);
    if (close == std::string::npos) {
        return std::nullopt;
    }
    return reply.substr(open + 1, std::min(close - open - 1, kMaxHandle));
}

}  // namespace

int RegistryLookup::ArinStage() {
    const std::string arin(ServerHost(Registry::Arin));
    if (!Ask(arin, m_address)) {
        return 0;
    }
    if (StartsWithLetter(m_reply)) {
        // A list of matches: ask for the first entry instead, on the same server.
        if (const std::optional<std::string> handle = FirstMatchHandle(m_reply)) {
            m_reply = m_client.Query(*handle);
            if (IsFailedReply(m_reply)) {
                return 0;
            }
        }
    }
    if (StartsWith(m_reply, "No match found")) {
        m_fields.netName = kRipeCidrBlock;
        return RipeStage();
    }
    KeepRecordFrom(ScanArinReply(m_reply, m_fields));

    const std::string& orgId = m_fields.orgId;
    if (orgId == "APNIC" || orgId == "IANA") {
        return 0;
    }
    if (orgId == "RIPE") {
        m_fields.netName = kRipeCidrBlock;
        return RipeStage();
    }
    if (orgId == "LACNIC") {
        m_fields.netName = kLacnicCidrBlock;
        return LacnicStage();
    }
    return ArinEnding();
}

// ARIN's record with CR LF line ends, cut before ARIN's trailing comment block.
int RegistryLookup::ArinEnding() {
    m_reportStart = ReplaceAll(m_reportStart, "\n", "\r\n");
    m_report = m_reportStart;
    const std::size_t trailer = m_reportStart.find("# ARIN WHOIS");
    if (trailer != std::string::npos) {
        m_report = m_reportStart.substr(0, trailer);
    }
    return 1;
}

}  // namespace quorvel
