#include "Refusals.h"

#include <algorithm>

#include "ByteText.h"
#include "ReplyLines.h"

namespace quorvel {
namespace {

// `lowerNeedle` is written in lower case.
bool HoldsIgnoringCase(std::string_view text, std::string_view lowerNeedle) {
    const auto found = std::search(
        text.begin(), text.end(), lowerNeedle.begin(), lowerNeedle.end(),
        [](char fromText, char fromNeedle) { return LowerAscii(fromText) == fromNeedle; });
    return found != text.end();
}

bool Applies(const RefusalMark& mark, std::optional<Registry> registry) {
    return !mark.registry || mark.registry == registry;
}

bool LineSays(std::string_view line, const RefusalMark& mark) {
    return mark.atLineStart ? StartsWith(line, mark.text) : HoldsIgnoringCase(line, mark.text);
}

}  // namespace

bool IsRefusalReply(std::string_view serverHost, std::string_view reply) {
    const std::optional<Registry> registry = RegistryServedAt(serverHost);
    for (std::size_t start = 0; start < reply.size();) {
        const ReplyLine line = ReplyLineAt(reply, start);
        for (const RefusalMark& mark : kRefusalMarks) {
            if (Applies(mark, registry) && LineSays(line.text, mark)) {
                return true;
            }
        }
        start = NextLineStart(reply, line);
    }
    return false;
}

}  // namespace quorvel
