#include "Ipv6Address.h"

#include "DottedAddress.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel {
namespace {

constexpr std::size_t kGroupCount = 8;  // sixteen-bit groups in an address
constexpr std::string_view kZeroRun = "::";

using Groups = std::vector<std::uint16_t>;

std::optional<unsigned> HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned>(c - 'A' + 10);
    }
    return std::nullopt;
}

// One group: one to four hex digits.
std::optional<std::uint16_t> ParseGroup(std::string_view piece) {
    if (piece.empty() || piece.size() > 4) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : piece) {
        const std::optional<unsigned> digit = HexDigitValue(c);
        if (!digit) {
            return std::nullopt;
        }
        value = value * 16 + *digit;
    }
    return static_cast<std::uint16_t>(value);
}

// The last 32 bits as a.b.c.d, exactly four parts, appended as two groups.
bool AppendDottedQuad(std::string_view piece, Groups& groups) {
    const std::optional<Ipv4Address> bytes = ParseDottedQuad(piece);
    if (!bytes) {
        return false;
    }
    groups.push_back(static_cast<std::uint16_t>((*bytes)[0] << 8 | (*bytes)[1]));
    groups.push_back(static_cast<std::uint16_t>((*bytes)[2] << 8 | (*bytes)[3]));
    return true;
}

// Groups separated by single colons; an empty text has none. When `quadMayEnd`, the last piece
// may be a dotted quad. False for an empty piece (a stray colon), a bad group, or more groups
// than an address holds.
bool AppendGroups(std::string_view text, bool quadMayEnd, Groups& groups) {
    while (!text.empty()) {
        const std::size_t colon = text.find(':');
        const std::string_view piece = text.substr(0, colon);
        if (colon == std::string_view::npos && quadMayEnd &&
            piece.find('.') != std::string_view::npos) {
            return AppendDottedQuad(piece, groups);
        }
        const std::optional<std::uint16_t> group = ParseGroup(piece);
        if (!group || groups.size() == kGroupCount) {
            return false;
        }
        groups.push_back(*group);
        if (colon == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(colon + 1);
        if (text.empty()) {
            return false;  // a trailing single colon
        }
    }
    return true;
}

void StoreGroup(std::uint16_t group, std::size_t index, Ipv6Address& address) {
    address[2 * index] = static_cast<std::uint8_t>(group >> 8);
    address[2 * index + 1] = static_cast<std::uint8_t>(group & 0xFFu);
}

std::uint16_t GroupAt(const Ipv6Address& address, std::size_t index) {
    return static_cast<std::uint16_t>(address[2 * index] << 8 | address[2 * index + 1]);
}

// The groups before "::" go first, those after it last, and the run between is zeros.
Ipv6Address JoinAroundZeroRun(const Groups& head, const Groups& tail) {
    Ipv6Address address{};
    for (std::size_t i = 0; i < head.size(); ++i) {
        StoreGroup(head[i], i, address);
    }
    for (std::size_t i = 0; i < tail.size(); ++i) {
        StoreGroup(tail[i], kGroupCount - tail.size() + i, address);
    }
    return address;
}

struct ZeroRun {
    std::size_t start = 0;
    std::size_t length = 0;
};

// The longest run of two or more zero groups, the first of equally long ones; length 0 if none.
ZeroRun LongestZeroRun(const Ipv6Address& address) {
    ZeroRun longest;
    ZeroRun current;
    for (std::size_t i = 0; i < kGroupCount; ++i) {
        if (GroupAt(address, i) != 0) {
            current.length = 0;
            continue;
        }
        if (current.length == 0) {
            current.start = i;
        }
        ++current.length;
        if (current.length >= 2 && current.length > longest.length) {
            longest = current;
        }
    }
    return longest;
}

void AppendHexGroup(std::uint16_t group, std::string& text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    bool started = false;
    for (int shift = 12; shift >= 0; shift -= 4) {
        const unsigned digit = (group >> shift) & 0xFu;
        if (digit != 0 || started || shift == 0) {
            text += kDigits[digit];
            started = true;
        }
    }
}

}  // namespace

std::optional<Ipv6Address> ParseIpv6Address(std::string_view text) {
    Groups head;
    const std::size_t zeroRun = text.find(kZeroRun);
    if (zeroRun == std::string_view::npos) {
        if (!AppendGroups(text, true, head) || head.size() != kGroupCount) {
            return std::nullopt;
        }
        return JoinAroundZeroRun(head, {});
    }
    // "::" stands for at least one zero group; a second "::" leaves an empty piece in the tail.
    Groups tail;
    if (!AppendGroups(text.substr(0, zeroRun), false, head) ||
        !AppendGroups(text.substr(zeroRun + kZeroRun.size()), true, tail) ||
        head.size() + tail.size() >= kGroupCount) {
        return std::nullopt;
    }
    return JoinAroundZeroRun(head, tail);
}

std::string FormatIpv6Address(const Ipv6Address& address) {
    const ZeroRun run = LongestZeroRun(address);
    std::string text;
    for (std::size_t i = 0; i < kGroupCount;) {
        if (run.length != 0 && i == run.start) {
            text += kZeroRun;
            i += run.length;
            continue;
        }
        if (!text.empty() && text.back() != ':') {
            text += ':';
        }
        AppendHexGroup(GroupAt(address, i), text);
        ++i;
    }
    return text;
}

std::optional<Ipv4Address> MappedIpv4Address(const Ipv6Address& address) {
    for (std::size_t i = 0; i < 10; ++i) {
        if (address[i] != 0) {
            return std::nullopt;
        }
    }
    if (address[10] != 0xFF || address[11] != 0xFF) {
        return std::nullopt;
    }
    return Ipv4Address{address[12], address[13], address[14], address[15]};
}

std::string LookupText(const Ipv6Address& address) {
    if (const std::optional<Ipv4Address> mapped = MappedIpv4Address(address)) {
        return FormatDottedAddress(*mapped);
    }
    return FormatIpv6Address(address);
}

}  // namespace quorvel
