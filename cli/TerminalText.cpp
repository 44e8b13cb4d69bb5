#include "TerminalText.h"

#include "InformationText.h"

namespace quorvel {
namespace {

bool IsC0OrDelete(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// A CR followed by more CRs and then LF ends a line (LACNIC's records end theirs in CR CR LF).
bool EndsALine(std::string_view text, std::size_t pos) {
    const std::size_t next = text.find_first_not_of('\r', pos);
    return next != std::string_view::npos && text[next] == '\n';
}

void AppendEscape(std::string& out, unsigned char byte) {
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

}  // namespace

std::string EscapedForTerminal(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (IsUtf8C1ControlAt(text, pos)) {
            AppendEscape(out, byte);
            AppendEscape(out, static_cast<unsigned char>(text[pos + 1]));
            pos += 2;
        } else if (length > 1) {
            out.append(text, pos, length);
            pos += length;
        } else {
            const bool lineEndOrTab =
                byte == '\t' || byte == '\n' || (byte == '\r' && EndsALine(text, pos));
            const bool control = IsC0OrDelete(byte) || (byte >= 0x80 && byte <= 0x9F);
            if (control && !lineEndOrTab) {
                AppendEscape(out, byte);
            } else {
                out += static_cast<char>(byte);
            }
            ++pos;
        }
    }
    return out;
}

}  // namespace quorvel
