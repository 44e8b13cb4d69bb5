#include "ArinCurrentLayout.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "ByteText.h"
#include "ReplyLines.h"
#include "ReplyScanner.h"

namespace quorvel {
namespace {

bool IsComment(const ReplyLine& line) {
    return StartsWith(line.text, "#");
}

bool IsContent(const ReplyLine& line) {
    return !line.text.empty() && !IsComment(line);
}

// A match-list entry ("Google LLC GOGL (NET-8-8-8-0-1) 8.8.8.0 - 8.8.8.255") names its handle
// between parentheses. ARIN lists the covering networks first: the last of the consecutive
// entries from `first` is the most specific.
std::string LastEntryHandle(std::vector<ReplyLine>::const_iterator first,
                            std::vector<ReplyLine>::const_iterator end) {
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

// "OrgId:" (or the older "OrgID:"): the organisation that holds the network.
std::optional<std::string> OrgIdOf(const ReplyLine& line) {
    if (std::optional<std::string> orgId = AttributeValue(line, "OrgId:")) {
        return orgId;
    }
    return AttributeValue(line, "OrgID:");
}

CurrentArinReply Of(CurrentArinReply::Kind kind) {
    CurrentArinReply reply;
    reply.kind = kind;
    return reply;
}

}  // namespace

bool IsCurrentArinLayout(std::string_view reply) {
    for (std::size_t start = 0; start < reply.size();) {
        const ReplyLine line = ReplyLineAt(reply, start);
        if (!line.text.empty()) {
            return IsComment(line);
        }
        start = NextLineStart(reply, line);
    }
    return false;
}

CurrentArinReply ReadCurrentArinReply(std::string_view reply, bool listMayBeFollowed) {
    using Kind = CurrentArinReply::Kind;
    const std::vector<ReplyLine> lines = SplitReplyLines(reply);
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
    const auto recordStart = std::find_if(lines.rbegin(), lines.rend(), [](const ReplyLine& line) {
        return StartsWith(line.text, "NetRange:");
    });
    if (recordStart == lines.rend()) {
        return Of(Kind::NoRecord);
    }
    CurrentArinReply record = Of(Kind::Record);
    record.recordStart = recordStart->start;
    for (auto line = recordStart.base(); line != lines.end(); ++line) {
        if (std::optional<std::string> orgId = OrgIdOf(*line)) {
            record.orgId = std::move(*orgId);
            break;
        }
    }
    return record;
}

std::string_view CurrentArinRecord(std::string_view recordText) {
    const std::vector<ReplyLine> lines = SplitReplyLines(recordText);
    if (lines.empty()) {
        return recordText;
    }
    const auto closing = std::find_if(std::next(lines.begin()), lines.end(), IsComment);
    return closing == lines.end() ? recordText : recordText.substr(0, closing->start);
}

}  // namespace quorvel
