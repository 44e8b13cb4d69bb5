#include "InformationText.h"

#include <cstdint>

namespace quorvel {
namespace {

constexpr std::string_view kSymbolForNull = "\xE2\x90\x80";  // U+2400, shown for a NUL byte

bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The forms a UTF-8 sequence's first byte takes: its marker bits, the sequence's length and
// the smallest value that length may carry (smaller ones are overlong forms).
struct LeadByte {
    unsigned char mask;
    unsigned char marker;
    std::size_t length;
    std::uint32_t minimum;
};
constexpr LeadByte kLeadBytes[] = {
    {0x80, 0x00, 1, 0x0},
    {0xE0, 0xC0, 2, 0x80},
    {0xF0, 0xE0, 3, 0x800},
    {0xF8, 0xF0, 4, 0x10000},
};

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    for (const LeadByte& form : kLeadBytes) {
        if ((lead & form.mask) != form.marker) {
            continue;
        }
        if (text.size() - pos < form.length) {
            return 0;
        }
        std::uint32_t value = lead & static_cast<unsigned char>(~form.mask);
        for (std::size_t i = 1; i < form.length; ++i) {
            const auto byte = static_cast<unsigned char>(text[pos + i]);
            if (!IsContinuationByte(byte)) {
                return 0;
            }
            value = value << 6 | (byte & 0x3Fu);
        }
        const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
        return value < form.minimum || surrogate || value > 0x10FFFF ? 0 : form.length;
    }
    return 0;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = Utf8SequenceLength(text, pos);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

bool IsUtf8C1ControlAt(std::string_view text, std::size_t pos) {
    return pos + 1 < text.size() && static_cast<unsigned char>(text[pos]) == 0xC2 &&
           static_cast<unsigned char>(text[pos + 1]) >= 0x80 &&
           static_cast<unsigned char>(text[pos + 1]) <= 0x9F;
}

namespace {

void AppendCharacter(std::string& out, unsigned char byte, bool asLatin1) {
    if (byte == 0) {
        out += kSymbolForNull;
    } else if (byte < 0x80 || !asLatin1) {
        out += static_cast<char>(byte);
    } else {
        out += static_cast<char>(0xC0 | byte >> 6);
        out += static_cast<char>(0x80 | (byte & 0x3F));
    }
}

void AppendLine(std::string& out, std::string_view line) {
    const bool asLatin1 = !IsValidUtf8(line);
    for (const char byte : line) {
        AppendCharacter(out, static_cast<unsigned char>(byte), asLatin1);
    }
}

// The length of the line break at `pos` (LF, CR LF or CR CR LF), or 0 when none starts there.
std::size_t LineBreakLength(std::string_view text, std::size_t pos) {
    for (const std::string_view lineBreak : {"\n", "\r\n", "\r\r\n"}) {
        if (text.substr(pos, lineBreak.size()) == lineBreak) {
            return lineBreak.size();
        }
    }
    return 0;
}

}  // namespace

std::string InformationBoxText(std::string_view reportBytes) {
    std::string out;
    out.reserve(reportBytes.size() + reportBytes.size() / 8);
    std::size_t lineStart = 0;
    for (std::size_t pos = 0; pos < reportBytes.size();) {
        const std::size_t breakLength = LineBreakLength(reportBytes, pos);
        if (breakLength == 0) {
            ++pos;
            continue;
        }
        AppendLine(out, reportBytes.substr(lineStart, pos - lineStart));
        out += '\n';
        pos += breakLength;
        lineStart = pos;
    }
    AppendLine(out, reportBytes.substr(lineStart));
    return out;
}

}  // namespace quorvel
