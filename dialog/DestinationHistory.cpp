#include "DestinationHistory.h"

#include <algorithm>

#include "ByteText.h"

namespace quorvel {

CDestinationHistory::CDestinationHistory(const std::vector<std::string>& stored) {
    // Oldest first: each newer one goes above it, and of a repeat the newest place stays.
    for (auto entry = stored.rbegin(); entry != stored.rend(); ++entry) {
        Add(*entry);
    }
}

void CDestinationHistory::Add(std::string_view destination) {
    const std::string_view located = WithoutSurroundingBlanks(destination);
    if (located.empty()) {
        return;
    }
    const auto listed = std::find(m_entries.begin(), m_entries.end(), located);
    if (listed != m_entries.end()) {
        m_entries.erase(listed);
    }
    m_entries.insert(m_entries.begin(), std::string(located));
    if (m_entries.size() > kHistoryLimit) {
        m_entries.resize(kHistoryLimit);
    }
}

void CDestinationHistory::Clear() {
    m_entries.clear();
}

}  // namespace quorvel
