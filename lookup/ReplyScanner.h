// The position-wise walk that every registry's reply scanner shares. A stage describes its
// scanner as a key table: the character that starts each attribute it cares about, an optional
// second character at a fixed offset, and what to do there.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The attributes a scan can capture. They outlive one scan: a later registry's scan overwrites
// only what it finds.
struct ScanFields {
    std::string netName;
    std::string orgId;
    std::string owner;
};

enum class ScanField { NetName, OrgId, Owner };

// The member of `fields` that `field` names.
std::string& FieldOf(ScanFields& fields, ScanField field);

enum class KeyAction {
    RecordStartThenSkip,  // the record begins here; then skip `offset` and on to the line's end
    Skip,                 // move on by `offset`, then on to the line's end
    Value,                // the value `offset` characters on, blanks passed over, to the line's end
    ValueThenStop,        // as Value, then the scan ends
    Stop,                 // the scan ends
};

struct ScanKey {
    char key;                // the character at the walk's position
    std::size_t testOffset;  // 0: no further test; else the position of `testChar` after it
    char testChar;
    KeyAction action;
    std::size_t offset;
    ScanField field;  // for Value and ValueThenStop
};

struct ScannerRules {
    const ScanKey* keys;
    std::size_t keyCount;
    char lineTerminator;    // '\n', or '\r' for LACNIC's CR LF lines
    bool lineStartSkipsCr;  // at a line start, one carriage return is passed over as well
};

// The longest value a scan keeps: 151 characters; the rest of a longer value is dropped.
constexpr std::size_t kMaxCapturedValue = 151;

// The longest match-list handle the lookup asks ARIN for; a longer one is cut to its first 51.
constexpr std::size_t kMaxHandle = 51;

// Walks `reply` by the rules, storing captured values into `fields`. Returns the position where
// the record begins (the last record-start key reached), or none.
std::optional<std::size_t> ScanReply(std::string_view reply, const ScannerRules& rules,
                                     ScanFields& fields);

}  // namespace quorvel
