#include "ReplyLines.h"

#include <algorithm>

#include "ByteText.h"
#include "ReplyScanner.h"

namespace quorvel {

ReplyLine ReplyLineAt(std::string_view reply, std::size_t start) {
    const std::size_t lineFeed = reply.find('\n', start);
    if (lineFeed == std::string_view::npos) {
        return {reply.substr(start), start};
    }
    std::string_view text = reply.substr(start, lineFeed - start);
    if (!text.empty() && text.back() == '\r') {
        text.remove_suffix(1);
    }
    return {text, start};
}

std::size_t NextLineStart(std::string_view reply, const ReplyLine& line) {
    const std::size_t lineFeed = reply.find('\n', line.start);
    return lineFeed == std::string_view::npos ? reply.size() : lineFeed + 1;
}

std::vector<ReplyLine> SplitReplyLines(std::string_view reply) {
    std::vector<ReplyLine> lines;
    for (std::size_t start = 0; start < reply.size();) {
        lines.push_back(ReplyLineAt(reply, start));
        start = NextLineStart(reply, lines.back());
    }
    return lines;
}

std::optional<std::string> AttributeValue(const ReplyLine& line, std::string_view name) {
    if (!StartsWith(line.text, name)) {
        return std::nullopt;
    }
    std::string_view value = line.text.substr(name.size());
    const std::size_t firstNonBlank = value.find_first_not_of(" \t");
    value.remove_prefix(std::min(firstNonBlank, value.size()));
    return std::string(Left(value, kMaxCapturedValue));
}

std::optional<std::size_t> FindLineBeginningWith(const std::vector<ReplyLine>& lines,
                                                 std::initializer_list<std::string_view> names,
                                                 std::size_t from) {
    for (std::size_t index = from; index < lines.size(); ++index) {
        for (const std::string_view name : names) {
            if (StartsWith(lines[index].text, name)) {
                return index;
            }
        }
    }
    return std::nullopt;
}

}  // namespace quorvel
