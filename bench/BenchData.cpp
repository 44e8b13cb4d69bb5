#include "BenchData.h"

#include <stdexcept>

namespace quorvel::bench {

std::string ReadBenchReply(const std::string& name) {
    return testing::ReadFile(std::string(QUORVEL_BENCH_DATA_DIR) + "/" + name);
}

std::string RepeatToSize(std::string_view lines, std::size_t size, std::string_view tail) {
    if (lines.empty()) {
        throw std::invalid_argument("no filler lines to repeat");
    }
    std::string text;
    text.reserve(size + lines.size() + tail.size());
    while (text.size() < size) {
        text.append(lines);
    }
    text.append(tail);
    return text;
}

std::string PlainTextLines(std::string_view excluded, std::string_view lineEnd) {
    // Letters, digits and punctuation as a record's free text has them.
    constexpr std::string_view kSource =
        "Network operations, 42 Long Street, Springfield; ticket #1987-XYZ (see web page) ";
    constexpr std::size_t kLineLength = 72;
    constexpr std::size_t kLineCount = 16;
    std::string allowed;
    for (char c : kSource) {
        if (excluded.find(c) == std::string_view::npos) {
            allowed += c;
        }
    }
    if (allowed.empty()) {
        throw std::invalid_argument("every character of the plain text is excluded");
    }
    std::string lines;
    std::size_t next = 0;
    for (std::size_t line = 0; line < kLineCount; ++line) {
        for (std::size_t column = 0; column < kLineLength; ++column) {
            lines += allowed[next++ % allowed.size()];
        }
        lines.append(lineEnd);
    }
    return lines;
}

}  // namespace quorvel::bench
