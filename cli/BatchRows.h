// A batch's answers as rows for programs: CSV (RFC 4180, with a header row) and JSON Lines (one
// object a line), with the same fields in the same order. Both are UTF-8: a registry's text that
// is not UTF-8 is read as Latin-1, line by line, as the windows show it.
#pragma once

#include <optional>
#include <string>

#include "RecordSummary.h"

namespace quorvel {

struct BatchRow {
    std::string destination;  // as typed
    std::string kind;         // "address", "prefix", "as", "name", or empty
    std::string name;         // the header's two values
    std::string address;
    std::string registry;  // whose record is shown, or empty
    RecordSummary summary;
    std::string status;  // "record", "private", "loopback", "failed", "unresolved", ...
    std::optional<std::size_t> count;  // with --extract
    std::string record;                // the text shown below the header, as its bytes
};

// The header row, with "count" when the rows have one. Rows end in CR LF, as RFC 4180 has it.
std::string CsvHeader(bool withCount);
std::string CsvRow(const BatchRow& row);

// One JSON object and its line feed: the CSV's fields and "record". Control characters, DEL and
// the C1 controls are written as \u escapes, so that no line can steer a terminal either.
std::string JsonLine(const BatchRow& row);

}  // namespace quorvel
