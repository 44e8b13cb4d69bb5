#include "ReplyScanner.h"

#include <algorithm>
#include <array>

namespace quorvel {
namespace {

class Walk {
public:
    Walk(std::string_view reply, const ScannerRules& rules, ScanFields& fields)
        : m_reply(reply), m_rules(rules), m_fields(fields) {
        for (std::size_t i = 0; i < rules.keyCount; ++i) {
            m_stopsWalk[static_cast<unsigned char>(rules.keys[i].key)] = true;
        }
        m_stopsWalk['%'] = true;
        m_stopsWalk['\n'] = true;
        if (rules.lineStartSkipsCr) {
            m_stopsWalk['\r'] = true;
        }
    }

    std::optional<std::size_t> Run() {
        const std::size_t end = m_reply.size();
        std::size_t p = 0;
        while (p < end) {
            // A character that is no line end, comment or key only moves the walk on by one.
            while (p < end && !m_stopsWalk[static_cast<unsigned char>(m_reply[p])]) {
                ++p;
            }
            if (p >= end) {
                break;
            }
            if (IsLineStart(m_reply[p])) {
                ++p;
            }
            p = SkipComments(p);
            if (p >= end) {
                break;
            }
            if (const ScanKey* key = MatchKey(p)) {
                if (!Act(*key, p)) {
                    break;
                }
            }
            ++p;
        }
        return m_recordStart;
    }

private:
    bool IsLineStart(char c) const { return c == '\n' || (m_rules.lineStartSkipsCr && c == '\r'); }

    // '%' lines are comments, whatever the scanner's line ends: each ends at its line feed.
    std::size_t SkipComments(std::size_t p) const {
        while (p < m_reply.size() && m_reply[p] == '%') {
            const std::size_t lineFeed = m_reply.find('\n', p);
            p = lineFeed == std::string_view::npos ? m_reply.size() : lineFeed + 1;
        }
        return p;
    }

    const ScanKey* MatchKey(std::size_t p) const {
        const char c = m_reply[p];
        for (std::size_t i = 0; i < m_rules.keyCount; ++i) {
            const ScanKey& key = m_rules.keys[i];
            if (key.key != c) {
                continue;
            }
            if (key.testOffset == 0) {
                return &key;
            }
            const std::size_t testAt = p + key.testOffset;
            if (testAt < m_reply.size() && m_reply[testAt] == key.testChar) {
                return &key;
            }
        }
        return nullptr;
    }

    // Carries out a key's action with the walk at p; false when the scan ends.
    bool Act(const ScanKey& key, std::size_t& p) {
        switch (key.action) {
            case KeyAction::RecordStartThenSkip:
                m_recordStart = p;
                p = ToTerminator(Advance(p, key.offset));
                return true;
            case KeyAction::Skip:
                p = ToTerminator(Advance(p, key.offset));
                return true;
            case KeyAction::Value:
                p = Capture(Advance(p, key.offset), key.field);
                return true;
            case KeyAction::ValueThenStop:
                Capture(Advance(p, key.offset), key.field);
                return false;
            case KeyAction::Stop:
                return false;
        }
        return false;
    }

    std::size_t Advance(std::size_t p, std::size_t count) const {
        return std::min(p + count, m_reply.size());
    }

    std::size_t ToTerminator(std::size_t p) const {
        const std::size_t terminator = m_reply.find(m_rules.lineTerminator, p);
        return terminator == std::string_view::npos ? m_reply.size() : terminator;
    }

    // Copies the value at p (leading blanks passed over, trailing ones kept) into the field;
    // returns the position of the line's terminator.
    std::size_t Capture(std::size_t p, ScanField field) {
        while (p < m_reply.size() && m_reply[p] == ' ') {
            ++p;
        }
        const std::size_t terminator = ToTerminator(p);
        const std::size_t length = std::min(terminator - p, kMaxCapturedValue);
        FieldOf(m_fields, field).assign(m_reply.substr(p, length));
        return terminator;
    }

    std::string_view m_reply;
    const ScannerRules& m_rules;
    ScanFields& m_fields;
    std::array<bool, 256> m_stopsWalk{};
    std::optional<std::size_t> m_recordStart;
};

}  // namespace

std::string& FieldOf(ScanFields& fields, ScanField field) {
    switch (field) {
        case ScanField::OrgId:
            return fields.orgId;
        case ScanField::Owner:
            return fields.owner;
        case ScanField::NetName:
            break;
    }
    return fields.netName;
}

std::optional<std::size_t> ScanReply(std::string_view reply, const ScannerRules& rules,
                                     ScanFields& fields) {
    return Walk(reply, rules, fields).Run();
}

}  // namespace quorvel
