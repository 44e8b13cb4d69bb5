// The IANA stage, where every IPv6 lookup starts. IANA answers with the block it allocated and
// the registry it allocated it to:
//
//   refer:        whois.arin.net
//
//   inet6num:     2001:4800:0:0:0:0:0:0/23
//   organisation: ARIN
//   ...
//   whois:        whois.arin.net
//
// A "refer:" line names the registry whenever there is one; older replies name it only in
// "whois:". Only the registries of the table are ever asked, whatever host a reply names.
#include <algorithm>

#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "ReplyLines.h"

namespace quorvel {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// The host IANA's reply names: the first "refer:" line's value, else the first "whois:" line's.
std::optional<std::string> ReferralHost(const std::vector<ReplyLine>& lines) {
    for (const std::string_view key : {"refer:", "whois:"}) {
        if (const std::optional<std::size_t> line = FindLineBeginningWith(lines, {key})) {
            return AttributeValue(lines[*line], key);
        }
    }
    return std::nullopt;
}

// The registry whose whois server is `host`; IANA refers only to the five regional registries.
std::optional<Registry> RegistryAt(std::string_view host) {
    for (const Registry registry : {Registry::Apnic, Registry::Arin, Registry::RipeNcc,
                                    Registry::Lacnic, Registry::Afrinic}) {
        if (EqualIgnoringCase(host, ServerHost(registry))) {
            return registry;
        }
    }
    return std::nullopt;
}

}  // namespace

int RegistryLookup::IanaStage() {
    if (!Ask(std::string(ServerHost(Registry::Iana)), m_address)) {
        return 0;
    }
    const std::vector<ReplyLine> lines = SplitReplyLines(m_reply);
    const std::optional<std::string> host = ReferralHost(lines);
    const std::optional<Registry> registry = host ? RegistryAt(*host) : std::nullopt;
    if (registry) {
        // IANA's reply is no record: the registry's stage finds the record to show.
        switch (*registry) {
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
    }
    // No registry named: IANA's own record is the answer.
    const std::optional<std::size_t> recordStart = FindLineBeginningWith(lines, {"inet6num:"});
    if (!recordStart) {
        return 0;
    }
    m_recordText = m_reply.substr(lines[*recordStart].start);
    return RecordEnding();
}

}  // namespace quorvel
