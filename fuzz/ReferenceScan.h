// A second, deliberately plain reading of the reply scanners' walk, for the fuzz targets to
// compare the library's scanners with: one position at a time, each rule spelled out as the
// scanners' comments describe it, no skipping ahead. Slow and obvious on purpose; where the two
// disagree on any reply, one of them is wrong.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ReplyScanner.h"

namespace quorvel::fuzz {

struct ReferenceKey {
    enum Action { RecordStart, Skip, Value, ValueThenStop, Stop };
    char key;
    std::size_t testOffset;  // 0: no further test
    char testChar;
    Action action;
    std::size_t offset;
    std::string ScanFields::*field;
};

struct ReferenceRules {
    std::vector<ReferenceKey> keys;
    char terminator;
    bool crStartsLine;
};

class ReferenceWalk {
public:
    ReferenceWalk(std::string_view reply, const ReferenceRules& rules)
        : m_reply(reply), m_rules(rules) {}

    std::optional<std::size_t> Run(ScanFields& fields) {
        std::optional<std::size_t> recordStart;
        const std::size_t end = m_reply.size();
        std::size_t p = 0;
        while (p < end) {
            if (m_reply[p] == '\n' || (m_rules.crStartsLine && m_reply[p] == '\r')) {
                ++p;
            }
            while (p < end && m_reply[p] == '%') {
                while (p < end && m_reply[p] != '\n') {
                    ++p;
                }
                if (p < end) {
                    ++p;
                }
            }
            if (p >= end) {
                break;
            }
            const ReferenceKey* key = KeyAt(p);
            if (key != nullptr) {
                switch (key->action) {
                    case ReferenceKey::RecordStart:
                        recordStart = p;
                        p = ToTerminator(std::min(p + key->offset, end));
                        break;
                    case ReferenceKey::Skip:
                        p = ToTerminator(std::min(p + key->offset, end));
                        break;
                    case ReferenceKey::Value:
                        p = Capture(std::min(p + key->offset, end), fields.*(key->field));
                        break;
                    case ReferenceKey::ValueThenStop:
                        Capture(std::min(p + key->offset, end), fields.*(key->field));
                        return recordStart;
                    case ReferenceKey::Stop:
                        return recordStart;
                }
            }
            ++p;
        }
        return recordStart;
    }

private:
    const ReferenceKey* KeyAt(std::size_t p) const {
        for (const ReferenceKey& key : m_rules.keys) {
            if (key.key != m_reply[p]) {
                continue;
            }
            if (key.testOffset == 0 || (p + key.testOffset < m_reply.size() &&
                                        m_reply[p + key.testOffset] == key.testChar)) {
                return &key;
            }
        }
        return nullptr;
    }

    std::size_t ToTerminator(std::size_t p) const {
        while (p < m_reply.size() && m_reply[p] != m_rules.terminator) {
            ++p;
        }
        return p;
    }

    std::size_t Capture(std::size_t p, std::string& field) const {
        while (p < m_reply.size() && m_reply[p] == ' ') {
            ++p;
        }
        const std::size_t terminator = ToTerminator(p);
        field = std::string(m_reply.substr(p, std::min(terminator - p, kMaxCapturedValue)));
        return terminator;
    }

    std::string_view m_reply;
    const ReferenceRules& m_rules;
};

using Key = ReferenceKey;
constexpr auto kNetName = &ScanFields::netName;
constexpr auto kOrgId = &ScanFields::orgId;
constexpr auto kOwner = &ScanFields::owner;

// inetnum starts the record; netname (8 with its colon) names the network and ends the scan.
inline const ReferenceRules kApnicReference = {
    {{'i', 0, 0, Key::RecordStart, 0, kNetName}, {'n', 0, 0, Key::ValueThenStop, 8, kNetName}},
    '\n',
    false};

// OrgName starts the record, OrgID names the organisation, NetName ends the scan; the other
// attributes are passed over by their names' lengths.
inline const ReferenceRules kArinReference = {{{'O', 3, 'N', Key::RecordStart, 8, kNetName},
                                               {'O', 3, 'I', Key::Value, 8, kOrgId},
                                               {'A', 0, 0, Key::Skip, 8, kNetName},
                                               {'C', 1, 'i', Key::Skip, 5, kNetName},
                                               {'S', 0, 0, Key::Skip, 10, kNetName},
                                               {'P', 0, 0, Key::Skip, 0, kNetName},
                                               {'C', 1, 'I', Key::Skip, 0, kNetName},
                                               {'C', 1, 'o', Key::Skip, 8, kNetName},
                                               {'N', 3, 'R', Key::Skip, 9, kNetName},
                                               {'N', 3, 'N', Key::ValueThenStop, 8, kNetName}},
                                              '\n',
                                              false};

// inetnum starts the record, every netname is read, admin-c ends the scan.
inline const ReferenceRules kRipeReference = {{{'i', 0, 0, Key::RecordStart, 8, kNetName},
                                               {'n', 0, 0, Key::Value, 8, kNetName},
                                               {'d', 0, 0, Key::Skip, 6, kNetName},
                                               {'c', 0, 0, Key::Skip, 8, kNetName},
                                               {'a', 0, 0, Key::Stop, 0, kNetName}},
                                              '\n',
                                              false};

// CR LF lines: inetnum starts the record, owner (not ownerid) is read, country ends the scan.
inline const ReferenceRules kLacnicReference = {{{'i', 0, 0, Key::RecordStart, 8, kOwner},
                                                 {'s', 0, 0, Key::Skip, 0, kOwner},
                                                 {'o', 5, 'i', Key::Skip, 0, kOwner},
                                                 {'o', 5, ':', Key::Value, 6, kOwner},
                                                 {'a', 0, 0, Key::Skip, 8, kOwner},
                                                 {'c', 0, 0, Key::Stop, 0, kOwner}},
                                                '\r',
                                                true};

}  // namespace quorvel::fuzz
