#include "ProgressLine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quorvel {
namespace {

constexpr std::size_t kBarWidth = 20;

std::string Bar(std::size_t done, std::size_t total) {
    const std::size_t filled =
        total == 0 ? kBarWidth : std::min(kBarWidth, done * kBarWidth / total);
    return "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '-') + "]";
}

std::string Minutes(double seconds) {
    const long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

std::string ProgressText(const Progress& progress, std::size_t columns) {
    const double rate =
        progress.seconds > 0 ? static_cast<double>(progress.done) / progress.seconds : 0.0;
    char rateText[32];
    std::snprintf(rateText, sizeof rateText, "%.1f/s", rate);

    std::string line = std::to_string(progress.done) + "/";
    if (progress.total) {
        line += std::to_string(*progress.total) + " " + Bar(progress.done, *progress.total);
    } else {
        line += std::to_string(progress.readSoFar) + "+";
    }
    line += "  " + std::string(rateText);
    if (progress.total && rate > 0) {
        line +=
            "  " + Minutes(static_cast<double>(*progress.total - progress.done) / rate) + " left";
    }
    std::string counts;
    for (const auto& [status, count] : progress.byStatus) {
        if (count > 0) {
            counts += (counts.empty() ? "" : ", ") + status + " " + std::to_string(count);
        }
    }
    if (!counts.empty()) {
        line += "  " + counts;
    }
    const std::size_t width = columns > 1 ? columns - 1 : 0;
    return line.substr(0, width);
}

}  // namespace quorvel
