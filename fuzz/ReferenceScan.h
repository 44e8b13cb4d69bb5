// A second, deliberately plain reading of the reply scanners' walk, for the fuzz targets to
// compare the library's scanners with: one position at a time over the same key tables, no
// skipping ahead. Slow and obvious on purpose; where the two
// disagree on any reply, one of them is wrong.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ReplyScanner.h"

namespace quorvel::fuzz {

// Walks a reply by a scanner's key table (the product's own: the unit tests check the tables,
// this checks the walk).
class ReferenceWalk {
public:
    ReferenceWalk(std::string_view reply, const ScannerRules& rules)
        : m_reply(reply), m_rules(rules) {}

    std::optional<std::size_t> Run(ScanFields& fields) {
        std::optional<std::size_t> recordStart;
        const std::size_t end = m_reply.size();
        std::size_t p = 0;
        while (p < end) {
            if (m_reply[p] == '\n' || (m_rules.lineStartSkipsCr && m_reply[p] == '\r')) {
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
            const ScanKey* key = KeyAt(p);
            if (key != nullptr) {
                switch (key->action) {
                    case KeyAction::RecordStartThenSkip:
                        recordStart = p;
                        p = ToTerminator(std::min(p + key->offset, end));
                        break;
                    case KeyAction::Skip:
                        p = ToTerminator(std::min(p + key->offset, end));
                        break;
                    case KeyAction::Value:
                        p = Capture(std::min(p + key->offset, end), FieldOf(fields, key->field));
                        break;
                    case KeyAction::ValueThenStop:
                        Capture(std::min(p + key->offset, end), FieldOf(fields, key->field));
                        return recordStart;
                    case KeyAction::Stop:
                        return recordStart;
                }
            }
            ++p;
        }
        return recordStart;
    }

private:
    const ScanKey* KeyAt(std::size_t p) const {
        for (std::size_t i = 0; i < m_rules.keyCount; ++i) {
            const ScanKey& key = m_rules.keys[i];
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
        while (p < m_reply.size() && m_reply[p] != m_rules.lineTerminator) {
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
    const ScannerRules& m_rules;
};

}  // namespace quorvel::fuzz
