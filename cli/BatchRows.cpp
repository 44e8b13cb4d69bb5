#include "BatchRows.h"

#include <nlohmann/json.hpp>

#include "InformationText.h"

namespace quorvel {
namespace {

constexpr const char* kFieldNames[] = {"destination", "kind",    "name",   "address", "registry",
                                       "range",       "network", "holder", "country", "status"};

// The fields of a row, in their order.
std::vector<const std::string*> Fields(const BatchRow& row) {
    return {&row.destination,     &row.kind,           &row.name,
            &row.address,         &row.registry,       &row.summary.range,
            &row.summary.network, &row.summary.holder, &row.summary.country,
            &row.status};
}

// A field as UTF-8 text: lines that are not UTF-8 read as Latin-1.
std::string AsUtf8(const std::string& bytes) {
    return InformationBoxText(bytes);
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t index = 0; index < fields.size(); ++index) {
        line += (index == 0 ? "" : ",") + CsvField(fields[index]);
    }
    return line + "\r\n";
}

// nlohmann/json writes the C0 controls as \u escapes and every other character as itself; DEL
// and the C1 controls (U+0080 to U+009F, "\xC2\x80" to "\xC2\x9F") get escapes here. Both can
// only stand inside strings.
std::string WithoutRawControls(const std::string& json) {
    constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(json.size());
    for (std::size_t pos = 0; pos < json.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(json[pos]);
        const bool c1 = IsUtf8C1ControlAt(json, pos);
        if (byte == 0x7F || c1) {
            const unsigned value = c1 ? static_cast<unsigned char>(json[++pos]) : byte;
            out += "\\u00";
            out += kHex[value >> 4];
            out += kHex[value & 0x0F];
        } else {
            out += json[pos];
        }
    }
    return out;
}

}  // namespace

std::string CsvHeader(bool withCount) {
    std::vector<std::string> names(std::begin(kFieldNames), std::end(kFieldNames));
    if (withCount) {
        names.emplace_back("count");
    }
    return CsvLine(names);
}

std::string CsvRow(const BatchRow& row) {
    std::vector<std::string> fields;
    for (const std::string* field : Fields(row)) {
        fields.push_back(AsUtf8(*field));
    }
    if (row.count) {
        fields.push_back(std::to_string(*row.count));
    }
    return CsvLine(fields);
}

std::string JsonLine(const BatchRow& row) {
    nlohmann::ordered_json object;
    const std::vector<const std::string*> fields = Fields(row);
    for (std::size_t index = 0; index < fields.size(); ++index) {
        object[kFieldNames[index]] = AsUtf8(*fields[index]);
    }
    if (row.count) {
        object["count"] = *row.count;
    }
    object["record"] = AsUtf8(row.record);
    return WithoutRawControls(
               object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)) +
           "\n";
}

}  // namespace quorvel
