#include "ArinCurrentLayout.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "ByteText.h"
#include "ReplyScanner.h"

namespace quorvel {
namespace {

// One line of a reply: its text without the line feed (and without one carriage return
// before it), and where it starts in the reply.
struct Line {
    std::string_view text;
    std::size_t start;
};

// The line that starts at `start`, which must lie inside the reply.
Line LineAt(std::string_view reply, std::size_t start) {
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

// Where the line after `line` starts (the reply's length after the last line).
std::size_t NextLineStart(std::string_view reply, const Line& line) {
    const std::size_t lineFeed = reply.find('\n', line.start);
    return lineFeed == std::string_view::npos ? reply.size() : lineFeed + 1;
}

std::vector<Line> SplitLines(std::string_view reply) {
    std::vector<Line> lines;
    for (std::size_t start = 0; start < reply.size();) {
        lines.push_back(LineAt(reply, start));
        start = NextLineStart(reply, lines.back());
    }
    return lines;
}

bool IsComment(const Line& line) {
    return StartsWith(line.text, "#");
}

bool IsContent(const Line& line) {
    return !line.text.empty() && !IsComment(line);
}

// A match-list entry ("Google LLC GOGL (NET-8-8-8-0-1) 8.8.8.0 - 8.8.8.255") names its handle
// between parentheses. ARIN lists the covering networks first: the last of the consecutive
// entries from `first` is the most specific.
std::string LastEntryHandle(std::vector<Line>::const_iterator first,
                            std::vector<Line>::const_iterator end) {
    std::string_view handle = *TextInParentheses(first->text);
    for (auto entry = std::next(first); entry != end; ++entry) {
        const std::optional<std::string_view> next = TextInParentheses(entry->text);
        if (!next) {
            break;
        }
        handle = *next;
    }
    return std::string(Left(handle, kMaxHandle));
}

// "OrgId:" (or the older "OrgID:"): the value after the colon, blanks passed over.
std::optional<std::string> OrgIdOf(std::string_view text) {
    if (!StartsWith(text, "OrgId:") && !StartsWith(text, "OrgID:")) {
        return std::nullopt;
    }
    std::string_view value = text.substr(6);
    const std::size_t firstNonBlank = value.find_first_not_of(" \t");
    value.remove_prefix(std::min(firstNonBlank, value.size()));
    return std::string(Left(value, kMaxCapturedValue));
}

CurrentArinReply Of(CurrentArinReply::Kind kind) {
    CurrentArinReply reply;
    reply.kind = kind;
    return reply;
}

}  // namespace

bool IsCurrentArinLayout(std::string_view reply) {
    for (std::size_t start = 0; start < reply.size();) {
        const Line line = LineAt(reply, start);
        if (!line.text.empty()) {
            return IsComment(line);
        }
        start = NextLineStart(reply, line);
    }
    return false;
}

CurrentArinReply ReadCurrentArinReply(std::string_view reply, bool listMayBeFollowed) {
    using Kind = CurrentArinReply::Kind;
    const std::vector<Line> lines = SplitLines(reply);
    const auto firstContent = std::find_if(lines.begin(), lines.end(), IsContent);
    if (firstContent == lines.end()) {
        return Of(Kind::Nothing);
    }
    if (StartsWith(firstContent->text, "No match found")) {
        return Of(Kind::NoMatch);
    }
    if (listMayBeFollowed && StartsWithAsciiLetter(firstContent->text) &&
        TextInParentheses(firstContent->text)) {
        CurrentArinReply list = Of(Kind::MatchList);
        list.handle = LastEntryHandle(firstContent, lines.end());
        return list;
    }

    // When ARIN shows several networks, the last is the most specific.
    const auto recordStart = std::find_if(lines.rbegin(), lines.rend(), [](const Line& line) {
        return StartsWith(line.text, "NetRange:");
    });
    if (recordStart == lines.rend()) {
        return Of(Kind::NoRecord);
    }
    CurrentArinReply record = Of(Kind::Record);
    record.recordStart = recordStart->start;
    for (auto line = recordStart.base(); line != lines.end(); ++line) {
        if (std::optional<std::string> orgId = OrgIdOf(line->text)) {
            record.orgId = std::move(*orgId);
            break;
        }
    }
    return record;
}

std::string_view CurrentArinRecord(std::string_view recordText) {
    const std::vector<Line> lines = SplitLines(recordText);
    if (lines.empty()) {
        return recordText;
    }
    const auto closing = std::find_if(std::next(lines.begin()), lines.end(), IsComment);
    return closing == lines.end() ? recordText : recordText.substr(0, closing->start);
}

}  // namespace quorvel
