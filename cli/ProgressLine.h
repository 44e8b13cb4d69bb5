// The progress line a batch draws on a terminal's stderr: done and total, a bar, lookups per
// second, the time left and the answers so far by status, redrawn in place.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvel {

struct Progress {
    std::size_t done = 0;
    std::optional<std::size_t> total;  // none while the input is still being read
    std::size_t readSoFar = 0;         // the destinations read, while the total is unknown
    double seconds = 0;                // since the batch began
    std::vector<std::pair<std::string, std::size_t>> byStatus;  // in the statuses' order
};

// The line, at most `columns` - 1 characters wide, so that it never wraps.
std::string ProgressText(const Progress& progress, std::size_t columns);

}  // namespace quorvel
