// The ARIN stage: ARIN's record, or a hand-over to RIPE NCC, LACNIC or AFRINIC by the
// organisation ARIN names. ARIN's replies come in two layouts: the current one, whose '#' comment
// block comes first, is read by attribute name; the older one, which names the organisation before
// the network, by the ARIN key table.
#include "ArinCurrentLayout.h"
#include "ByteText.h"
#include "Registries.h"
#include "RegistryLookup.h"
#include "Scanners.h"

namespace quorvel {
namespace {

// A reply in the older layout that lists matches ("Level 3 Communications LVLT-ORG-8-8
// (NET-8-0-0-0-1) ...") names the first entry's handle between parentheses.
std::optional<std::string> FirstMatchHandle(const std::string& reply) {
    const std::optional<std::string_view> handle = TextInParentheses(reply);
    if (!handle) {
        return std::nullopt;
    }
    return std::string(Left(*handle, kMaxHandle));
}

}  // namespace

int RegistryLookup::ArinStage() {
    if (!Ask(Registry::Arin, m_address)) {
        return 0;
    }
    return ReadArinReply(true);
}

// ARIN's latest reply, in whichever layout it comes. A list of matches is followed at most
// once, so ARIN is asked at most twice.
int RegistryLookup::ReadArinReply(bool listMayBeFollowed) {
    if (IsCurrentArinLayout(m_reply)) {
        return ReadCurrentArinLayout(listMayBeFollowed);
    }
    if (listMayBeFollowed && StartsWithAsciiLetter(m_reply)) {
        // A list of matches: ask for the first entry instead.
        if (const std::optional<std::string> handle = FirstMatchHandle(m_reply)) {
            return AskArinForHandle(*handle);
        }
    }
    if (StartsWith(m_reply, "No match found")) {
        return HandOverToRipe();
    }
    KeepRecordFrom(ScanArinReply(m_reply, m_fields));
    return RouteFromArin(ArinLayout::Older);
}

int RegistryLookup::ReadCurrentArinLayout(bool listMayBeFollowed) {
    CurrentArinReply read = ReadCurrentArinReply(m_reply, listMayBeFollowed);
    switch (read.kind) {
        case CurrentArinReply::Kind::NoMatch:
            return HandOverToRipe();
        case CurrentArinReply::Kind::MatchList:
            return AskArinForHandle(read.handle);
        case CurrentArinReply::Kind::Record:
            KeepRecord(read.recordStart);
            m_fields.orgId = std::move(read.orgId);
            return RouteFromArin(ArinLayout::Current);
        case CurrentArinReply::Kind::Nothing:
        case CurrentArinReply::Kind::NoRecord:
            break;
    }
    return 0;
}

// The handle is asked of the same server; its reply replaces the list.
int RegistryLookup::AskArinForHandle(const std::string& handle) {
    m_reply = m_client.Query(handle);
    if (IsFailedReply(m_reply)) {
        return 0;
    }
    return ReadArinReply(false);
}

// "No match found", or an organisation of RIPE: RIPE NCC is asked, with the marker the RIPE
// stage reads when RIPE NCC's reply names no network.
int RegistryLookup::HandOverToRipe() {
    m_fields.netName = kRipeCidrBlock;
    return RipeStage();
}

// The organisation ARIN names decides: the other registries' own blocks go on to them.
int RegistryLookup::RouteFromArin(ArinLayout layout) {
    const std::string& orgId = m_fields.orgId;
    if (orgId == "APNIC" || orgId == "IANA") {
        return 0;
    }
    if (orgId == "RIPE") {
        return HandOverToRipe();
    }
    if (orgId == "LACNIC") {
        return LacnicStage();
    }
    // ARIN answers African space with a pointer record naming AFRINIC, never the holder.
    if (orgId == "AFRINIC") {
        return AfrinicStage();
    }
    return ArinEnding(layout);
}

// ARIN's record with CR LF line ends, cut before ARIN's closing comment block.
int RegistryLookup::ArinEnding(ArinLayout layout) {
    if (layout == ArinLayout::Current) {
        return ShowRecord(ReplaceAll(CurrentArinRecord(m_recordText), "\n", "\r\n"));
    }
    std::string record = ReplaceAll(m_recordText, "\n", "\r\n");
    const std::size_t trailer = record.find("# ARIN WHOIS");
    if (trailer != std::string::npos) {
        record.resize(trailer);
    }
    return ShowRecord(std::move(record));
}

}  // namespace quorvel
