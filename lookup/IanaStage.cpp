// The IANA stage, where every IPv6 and AS-number lookup starts. IANA answers with the block it
// allocated and the registry it allocated it to:
//
//   refer:        whois.arin.net                  refer:        whois.lacnic.net
//
//   inet6num:     2001:4800:0:0:0:0:0:0/23        as-block:     264605-265628
//   organisation: ARIN                            organisation: Assigned by LACNIC
//   ...                                           ...
//   whois:        whois.arin.net                  whois:        whois.lacnic.net
//
// A "refer:" line names the registry whenever there is one; older replies name it only in
// "whois:". Only the registries of the table are ever asked, whatever host a reply names.

#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "ReplyLines.h"

namespace quorvel {
namespace {

// The host IANA's reply names: the first "refer:" line's value, else the first "whois:" line's.
std::optional<std::string> ReferralHost(const std::vector<ReplyLine>& lines) {
    for (const std::string_view key : {"refer:", "whois:"}) {
        if (const std::optional<std::size_t> line = FindLineBeginningWith(lines, {key})) {
            return AttributeValue(lines[*line], key);
        }
    }
    return std::nullopt;
}

// The registry whose whois server is `host`; IANA refers only to the five regional registries
// (TWNIC is no referral target, and IANA does not name itself).
std::optional<Registry> RegistryAt(std::string_view host) {
    const std::optional<Registry> registry = RegistryServedAt(host);
    if (registry == Registry::Twnic || registry == Registry::Iana) {
        return std::nullopt;
    }
    return registry;
}

// The regional registry IANA's reply refers to, for addresses and AS numbers alike.
std::optional<Registry> ReferredRegistry(const std::vector<ReplyLine>& lines) {
    const std::optional<std::string> host = ReferralHost(lines);
    return host ? RegistryAt(*host) : std::nullopt;
}

}  // namespace

int RegistryLookup::IanaStage() {
    if (!Ask(Registry::Iana, m_address)) {
        return 0;
    }
    const std::vector<ReplyLine> lines = SplitReplyLines(m_reply);
    if (const std::optional<Registry> registry = ReferredRegistry(lines)) {
        // IANA's reply is no record: the registry's stage finds the record to show.
        return m_asNumber ? AsNumberStage(*registry) : AddressStage(*registry);
    }
    // No registry named: IANA's own record is the answer.
    const std::optional<std::size_t> recordStart =
        FindLineBeginningWith(lines, {m_asNumber ? "as-block:" : "inet6num:"});
    if (!recordStart) {
        return 0;
    }
    KeepRecord(lines[*recordStart].start);
    return RecordEnding();
}

int RegistryLookup::AddressStage(Registry registry) {
    switch (registry) {
        case Registry::Apnic:
            return ApnicStage();
        case Registry::Arin:
            return ArinStage();
        case Registry::RipeNcc:
            return RipeStage();
        case Registry::Lacnic:
            return LacnicStage();
        case Registry::Afrinic:
            return AfrinicStage();
        case Registry::Twnic:
        case Registry::Iana:
            break;  // never referred to
    }
    return 0;
}

}  // namespace quorvel
