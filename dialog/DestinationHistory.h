// The destinations the user has located, for the address box's list: the most recent first, each
// once, at most kHistoryLimit of them. Both windows keep it in the user's settings between runs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

inline constexpr std::size_t kHistoryLimit = 20;

class CDestinationHistory {
public:
    // The stored list as read back, which the user may have edited: blank entries and repeats
    // are dropped, and only the first kHistoryLimit are kept.
    explicit CDestinationHistory(const std::vector<std::string>& stored = {});

    // A destination that was located goes to the top; one already listed moves there. Blanks
    // and line ends around it, as pasting brings, are not part of it.
    void Add(std::string_view destination);
    void Clear();

    const std::vector<std::string>& Entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

}  // namespace quorvel
