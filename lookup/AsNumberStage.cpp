// The AS-number stage: the registry IANA referred an AS number to is asked in its own form, and
// its record runs from the line that names the AS number to the reply's end:
//
//   ARIN, asked "a 13335"            the others (RPSL), asked "AS3333"
//   ASNumber:       13335            aut-num:        AS3333
//   ASName:         CLOUDFLARENET    as-name:        RIPE-NCC-AS
//   ...                              ...
//   OrgName:        Cloudflare, Inc. org-name:       Reseaux IP Europeens ...
//
// A reply without that line says why ("%ERROR:101: no entries found") and is shown whole.
#include <algorithm>
#include <iterator>

#include "ByteText.h"
#include "RegistryLookup.h"
#include "ReplyLines.h"

namespace quorvel {
namespace {

struct AsNumberForm {
    Registry registry;
    std::string_view queryPrefix;  // then the number in plain decimal
    std::string_view recordStart;  // the attribute that begins the record, at a line start
};

constexpr AsNumberForm kAsNumberForms[] = {
    // ARIN's "a" asks for an AS number; a bare "AS13335" is answered with a note that the query
    // was ambiguous before the record.
    {Registry::Arin, "a ", "ASNumber:"},   {Registry::Apnic, "AS", "aut-num:"},
    {Registry::RipeNcc, "AS", "aut-num:"}, {Registry::Lacnic, "AS", "aut-num:"},
    {Registry::Afrinic, "AS", "aut-num:"},
};

}  // namespace

int RegistryLookup::AsNumberStage(Registry registry) {
    const auto* form =
        std::find_if(std::begin(kAsNumberForms), std::end(kAsNumberForms),
                     [&](const AsNumberForm& candidate) { return candidate.registry == registry; });
    if (form == std::end(kAsNumberForms) ||
        !Ask(registry, std::string(form->queryPrefix) + std::to_string(*m_asNumber))) {
        return 0;
    }
    const std::vector<ReplyLine> lines = SplitReplyLines(m_reply);
    const std::optional<std::size_t> recordStart =
        FindLineBeginningWith(lines, {form->recordStart});
    // The record runs to the reply's end: ARIN's closing comment block and LACNIC's "% whois"
    // lines are part of it here.
    KeepRecord(recordStart ? lines[*recordStart].start : 0);
    return RecordEnding();
}

}  // namespace quorvel
