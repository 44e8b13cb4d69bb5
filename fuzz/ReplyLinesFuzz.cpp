// The by-name readers (ARIN's current layout, AFRINIC's objects, IANA's referrals) on arbitrary
// bytes: the lines cover the reply in order without their line ends, an attribute's value is
// the rest of its line with the leading blanks passed over, and ARIN's reader points inside the
// reply.
#include <cstdint>
#include <string>
#include <string_view>

#include "ArinCurrentLayout.h"
#include "FuzzCheck.h"
#include "ReplyLines.h"
#include "ReplyScanner.h"

namespace {

using namespace quorvel;

void CheckLines(std::string_view reply) {
    std::size_t expectedStart = 0;
    for (const ReplyLine& line : SplitReplyLines(reply)) {
        QUORVEL_FUZZ_CHECK(line.start == expectedStart && line.start < reply.size());
        QUORVEL_FUZZ_CHECK(reply.substr(line.start, line.text.size()) == line.text);
        QUORVEL_FUZZ_CHECK(line.text.find('\n') == std::string_view::npos);
        const std::string_view rest = reply.substr(line.start + line.text.size());
        QUORVEL_FUZZ_CHECK(rest.empty() || rest.substr(0, 1) == "\n" ||
                           rest.substr(0, 2) == "\r\n");
        expectedStart = NextLineStart(reply, line);
        for (const std::string_view name : {"netname:", "refer:", "inetnum:"}) {
            if (const std::optional<std::string> value = AttributeValue(line, name)) {
                QUORVEL_FUZZ_CHECK(line.text.substr(0, name.size()) == name);
                QUORVEL_FUZZ_CHECK(value->size() <= kMaxCapturedValue);
                QUORVEL_FUZZ_CHECK(value->empty() ||
                                   (value->front() != ' ' && value->front() != '\t'));
                QUORVEL_FUZZ_CHECK(line.text.find(*value, name.size()) != std::string_view::npos);
            }
        }
    }
    QUORVEL_FUZZ_CHECK(expectedStart == reply.size());
}

void CheckArinReader(std::string_view reply) {
    for (const bool listMayBeFollowed : {true, false}) {
        const CurrentArinReply read = ReadCurrentArinReply(reply, listMayBeFollowed);
        QUORVEL_FUZZ_CHECK(read.handle.size() <= kMaxHandle);
        QUORVEL_FUZZ_CHECK(read.orgId.size() <= kMaxCapturedValue);
        if (read.kind == CurrentArinReply::Kind::Record) {
            QUORVEL_FUZZ_CHECK(read.recordStart < reply.size());
            const std::string_view record = CurrentArinRecord(reply.substr(read.recordStart));
            QUORVEL_FUZZ_CHECK(record.substr(0, 9) == "NetRange:");
        }
        if (!listMayBeFollowed) {
            QUORVEL_FUZZ_CHECK(read.kind != CurrentArinReply::Kind::MatchList);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    CheckLines(reply);
    CheckArinReader(reply);
    return 0;
}
