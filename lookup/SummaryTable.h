// Where a record's summary comes from: for each registry and layout, the attribute names whose
// values give the network's range, its name, its holder and its country. `quorvel-lookup`'s CSV
// and JSON Lines rows carry these four beside the header's name and address.
#pragma once

#include <array>
#include <string_view>

#include "Registries.h"

namespace quorvel {

// Where an attribute is looked for. Names are matched whole (colon included, case as written)
// at line starts; the first line that begins with one of them counts.
enum class SummaryScope {
    Record,        // the record as shown, from its first line on
    RecordObject,  // the record's first object: its first line up to the first empty line
    Reply,         // anywhere in the reply the record was cut from
    Organisation,  // the reply's organisation object, from its "organisation:" line
};

enum class SummaryForm {
    AsIs,      // the value, blanks trimmed
    AsNumber,  // a number given without its "AS" ("ASNumber: 13335") as AS<n>
};

struct SummarySource {
    SummaryScope scope = SummaryScope::Record;
    std::array<std::string_view, 3> names{};  // unused places empty; no names: no source
    SummaryForm form = SummaryForm::AsIs;
};

// A summary field: the first source whose attribute is there with a value; empty otherwise.
struct SummaryField {
    SummarySource first;
    SummarySource otherwise;
};

struct SummaryAttributes {
    SummaryField range;
    SummaryField network;
    SummaryField holder;
    SummaryField country;
};

// The sources the table is written in: the first line of the scope that begins with one of
// the names.
constexpr SummarySource InRecord(std::string_view name, std::string_view orName = {},
                                 std::string_view orName2 = {}) {
    return {SummaryScope::Record, {name, orName, orName2}, SummaryForm::AsIs};
}
constexpr SummarySource InRecordObject(std::string_view name) {
    return {SummaryScope::RecordObject, {name}, SummaryForm::AsIs};
}
constexpr SummarySource AnywhereInReply(std::string_view name) {
    return {SummaryScope::Reply, {name}, SummaryForm::AsIs};
}
constexpr SummarySource InOrganisation(std::string_view name) {
    return {SummaryScope::Organisation, {name}, SummaryForm::AsIs};
}
constexpr SummarySource ShownAsAsNumber(SummarySource source) {
    source.form = SummaryForm::AsNumber;
    return source;
}
constexpr SummaryField From(SummarySource first, SummarySource otherwise = {}) {
    return {first, otherwise};
}
inline constexpr SummaryField kNoField{};

// ARIN's network records, in either layout. A network ARIN reassigned to a customer names the
// customer instead of an organisation.
inline constexpr SummaryAttributes kArinNetworkSummary = {
    From(InRecord("NetRange:")),
    From(InRecord("NetName:")),
    From(InRecord("OrgName:"), InRecord("CustName:")),
    From(InRecord("Country:")),
};

// ARIN's AS records ("ASNumber:       13335", "ASName:         CLOUDFLARENET").
inline constexpr SummaryAttributes kArinAsSummary = {
    From(ShownAsAsNumber(InRecord("ASNumber:"))),
    From(InRecord("ASName:")),
    From(InRecord("OrgName:")),
    From(InRecord("Country:")),
};

// The RPSL objects of RIPE NCC, APNIC and AFRINIC. The holder's name stands in the organisation
// object the record points to ("org-name:"), which follows the record in the same reply; a
// record without one describes its holder in "descr:". "descr:" and "country:" are read from the
// record's own object only, so that a route object after it cannot stand in for them.
inline constexpr SummaryAttributes kRpslSummary = {
    From(InRecord("inetnum:", "inet6num:", "aut-num:")),
    From(InRecord("netname:", "as-name:")),
    From(AnywhereInReply("org-name:"), InRecordObject("descr:")),
    From(InRecordObject("country:"), InOrganisation("country:")),
};

// LACNIC's records name no network.
inline constexpr SummaryAttributes kLacnicSummary = {
    From(InRecord("inetnum:", "aut-num:")),
    kNoField,
    From(InRecord("owner:")),
    From(InRecord("country:")),
};

// IANA's own records: the block it allocated and the registry it allocated it to.
inline constexpr SummaryAttributes kIanaSummary = {
    From(InRecord("inet6num:", "as-block:")),
    kNoField,
    From(InRecord("organisation:")),
    kNoField,
};

enum class RecordKind { Network, AsNumber, Either };

struct SummaryRow {
    Registry registry;
    RecordKind kind;
    const SummaryAttributes* attributes;
};

// TWNIC has no row: its addition is read as part of APNIC's record.
inline constexpr SummaryRow kSummaryRows[] = {
    {Registry::Arin, RecordKind::Network, &kArinNetworkSummary},
    {Registry::Arin, RecordKind::AsNumber, &kArinAsSummary},
    {Registry::RipeNcc, RecordKind::Either, &kRpslSummary},
    {Registry::Apnic, RecordKind::Either, &kRpslSummary},
    {Registry::Afrinic, RecordKind::Either, &kRpslSummary},
    {Registry::Lacnic, RecordKind::Either, &kLacnicSummary},
    {Registry::Iana, RecordKind::Either, &kIanaSummary},
};

}  // namespace quorvel
