// Reading a reply line by line, with attributes named whole at line starts ("OrgId:",
// "netname:", "refer:"): how ARIN's current layout, AFRINIC's objects and IANA's referrals are
// read. A line ends at its line feed; one carriage return before the line feed is not part of
// the line.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One line of a reply: its text without the line end, and where it starts in the reply.
struct ReplyLine {
    std::string_view text;
    std::size_t start;
};

// The line that starts at `start`, which must lie inside the reply.
ReplyLine ReplyLineAt(std::string_view reply, std::size_t start);

// Where the line after `line` starts (the reply's length after the last line).
std::size_t NextLineStart(std::string_view reply, const ReplyLine& line);

std::vector<ReplyLine> SplitReplyLines(std::string_view reply);

// The value of the attribute `name` (its colon included, "netname:") when the line begins with
// it: the rest of the line, leading spaces and tabs passed over, trailing ones kept, cut to the
// longest value a scan keeps. None for a line that begins otherwise.
std::optional<std::string> AttributeValue(const ReplyLine& line, std::string_view name);

// The first line at or after `from` that begins with one of `names`; none when no line does.
std::optional<std::size_t> FindLineBeginningWith(const std::vector<ReplyLine>& lines,
                                                 std::initializer_list<std::string_view> names,
                                                 std::size_t from = 0);

}  // namespace quorvel
