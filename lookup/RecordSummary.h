// The summary of a registry's record that `quorvel-lookup` writes beside the header in its CSV
// and JSON Lines rows: the network's range, its name, its holder and its country, read by the
// attribute names of the summary table (SummaryTable.h).
#pragma once

#include <string>
#include <string_view>

#include "Registries.h"
#include "SummaryTable.h"

namespace quorvel {

struct RecordSummary {
    std::string range;
    std::string network;
    std::string holder;
    std::string country;
};

// The table's attributes for a record of `registry` (of an AS number when `asNumber`); none for
// a registry whose records are not summarised (TWNIC's addition is part of APNIC's record).
const SummaryAttributes* SummaryAttributesFor(Registry registry, bool asNumber);

// Reads the summary of `record`, the record as shown, which was cut from `reply`. Each value is
// the first one found (blanks trimmed, an empty value counting as none), or empty.
RecordSummary SummarizeRecord(const SummaryAttributes& attributes, std::string_view record,
                              std::string_view reply);

}  // namespace quorvel
