// The checks every reply scanner must pass on any bytes a server could send: the record start
// lies inside the reply, each captured value is at most kMaxCapturedValue (151) characters and
// never runs over the line's terminator, and the plain reference walk reads the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "ReferenceScan.h"
#include "ReplyScanner.h"

namespace quorvel::fuzz {

using Scanner = std::optional<std::size_t> (*)(std::string_view, ScanFields&);

inline void CheckCapturedValue(const std::string& value, char lineTerminator) {
    QUORVEL_FUZZ_CHECK(value.size() <= kMaxCapturedValue);
    QUORVEL_FUZZ_CHECK(value.find(lineTerminator) == std::string::npos);
}

// Scans the input as one reply, as a fresh lookup would and again with fields a previous stage
// left behind.
inline int FuzzScanner(const std::uint8_t* data, std::size_t size, Scanner scan,
                       const ScannerRules& rules) {
    const char lineTerminator = rules.lineTerminator;
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    ScanFields fields;
    const std::optional<std::size_t> recordStart = scan(reply, fields);
    if (recordStart) {
        QUORVEL_FUZZ_CHECK(*recordStart < reply.size());
    }
    CheckCapturedValue(fields.netName, lineTerminator);
    CheckCapturedValue(fields.orgId, lineTerminator);
    CheckCapturedValue(fields.owner, lineTerminator);

    ScanFields expected;
    QUORVEL_FUZZ_CHECK(ReferenceWalk(reply, rules).Run(expected) == recordStart);
    QUORVEL_FUZZ_CHECK(expected.netName == fields.netName && expected.orgId == fields.orgId &&
                       expected.owner == fields.owner);

    // A scan only overwrites what it finds: a second pass over the same reply finds the same.
    ScanFields again = fields;
    QUORVEL_FUZZ_CHECK(scan(reply, again) == recordStart);
    QUORVEL_FUZZ_CHECK(again.netName == fields.netName && again.orgId == fields.orgId &&
                       again.owner == fields.owner);
    return 0;
}

}  // namespace quorvel::fuzz
