#include "DottedAddress.h"

namespace quorvel {
namespace {

bool IsDigitIn(char c, unsigned base) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0') < base;
    }
    if (base == 16) {
        return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }
    return false;
}

unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    return static_cast<unsigned>(c - 'A' + 10);
}

// One part of the notation: decimal, octal with a leading 0, or hex with 0x/0X. None for an
// empty part, a stray character or a value beyond 32 bits.
std::optional<std::uint32_t> ParsePart(std::string_view part) {
    if (part.empty()) {
        return std::nullopt;
    }
    unsigned base = 10;
    if (part.size() >= 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
        base = 16;
        part.remove_prefix(2);
        if (part.empty()) {
            return std::nullopt;  // "0x" names no number
        }
    } else if (part[0] == '0') {
        base = 8;
    }
    std::uint64_t value = 0;
    for (char c : part) {
        if (!IsDigitIn(c, base)) {
            return std::nullopt;
        }
        value = value * base + DigitValue(c);
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

// One part of a strict dotted quad: 0 to 255 in decimal, without leading zeros.
std::optional<std::uint8_t> ParseQuadPart(std::string_view part) {
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0')) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : part) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 0xFFu) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::uint32_t ParseDottedAddress(std::string_view text) {
    std::uint32_t parts[4] = {};
    std::size_t count = 0;
    for (;;) {
        const std::size_t dot = text.find('.');
        const std::string_view piece = text.substr(0, dot);
        if (count == 4) {
            return kInaddrNone;  // a fifth part
        }
        const std::optional<std::uint32_t> value = ParsePart(piece);
        if (!value) {
            return kInaddrNone;
        }
        parts[count++] = *value;
        if (dot == std::string_view::npos) {
            break;
        }
        text.remove_prefix(dot + 1);
    }
    // The last part fills all the bits the earlier ones leave; each earlier part is one byte.
    const std::uint32_t lastPartLimit[] = {0xFFFFFFFFu, 0xFFFFFFu, 0xFFFFu, 0xFFu};
    std::uint32_t address = 0;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (parts[i] > 0xFFu) {
            return kInaddrNone;
        }
        address |= parts[i] << (24 - 8 * i);
    }
    if (parts[count - 1] > lastPartLimit[count - 1]) {
        return kInaddrNone;
    }
    return address | parts[count - 1];
}

std::optional<Ipv4Address> ParseDottedQuad(std::string_view text) {
    Ipv4Address bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool lastPart = i + 1 == bytes.size();
        const std::size_t dot = text.find('.');
        if (lastPart != (dot == std::string_view::npos)) {
            return std::nullopt;  // fewer or more than four parts
        }
        const std::optional<std::uint8_t> part = ParseQuadPart(text.substr(0, dot));
        if (!part) {
            return std::nullopt;
        }
        bytes[i] = *part;
        text.remove_prefix(lastPart ? text.size() : dot + 1);
    }
    return bytes;
}

Ipv4Address ToNetworkBytes(std::uint32_t hostOrder) {
    return {static_cast<std::uint8_t>(hostOrder >> 24), static_cast<std::uint8_t>(hostOrder >> 16),
            static_cast<std::uint8_t>(hostOrder >> 8), static_cast<std::uint8_t>(hostOrder)};
}

std::string FormatDottedAddress(const Ipv4Address& address) {
    std::string text;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i != 0) {
            text += '.';
        }
        text += std::to_string(address[i]);
    }
    return text;
}

}  // namespace quorvel
