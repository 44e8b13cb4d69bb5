#include "Destination.h"

#include <algorithm>
#include <array>

#include "ByteText.h"
#include "DottedAddress.h"
#include "Ipv6Address.h"

namespace quorvel {
namespace {

constexpr std::uint32_t kLargestPort = 65535;
constexpr std::uint32_t kLargestAsNumber = 0xFFFFFFFFu;
constexpr std::uint32_t kLargestAsdotPart = 0xFFFFu;

// Decimal digits only, any number of them, with a value of at most `largest`.
std::optional<std::uint32_t> ParseDecimal(std::string_view digits, std::uint32_t largest) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (!IsAsciiDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > largest) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

// A port: one to five digits, leading zeros allowed ("00443"), 0 to 65535.
bool IsPort(std::string_view text) {
    return text.size() <= 5 && ParseDecimal(text, kLargestPort).has_value();
}

// Threat reports write dots and colons so that nothing turns them into links.
struct DefangedForm {
    std::string_view written;  // compared without regard to case
    char meant;
};
constexpr DefangedForm kDefangedForms[] = {
    {"[.]", '.'},   {"(.)", '.'},   {"{.}", '.'}, {"[dot]", '.'},
    {"(dot)", '.'}, {"{dot}", '.'}, {"[:]", ':'},
};

// One pass from left to right: each defanged form becomes what it stands for; what a
// replacement produces is not looked at again.
std::string Refanged(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view rest = text.substr(at);
        const auto* form = std::find_if(
            std::begin(kDefangedForms), std::end(kDefangedForms),
            [&](const DefangedForm& f) { return StartsWithIgnoringCase(rest, f.written); });
        if (form == std::end(kDefangedForms)) {
            result += text[at++];
        } else {
            result += form->meant;
            at += form->written.size();
        }
    }
    return result;
}

// What logs, mail headers and chats put around an address or a name.
constexpr std::array<std::array<char, 2>, 5> kWrappingPairs = {
    {{'[', ']'}, {'<', '>'}, {'(', ')'}, {'"', '"'}, {'\'', '\''}}};

bool IsWrapped(std::string_view text) {
    return text.size() >= 2 &&
           std::any_of(kWrappingPairs.begin(), kWrappingPairs.end(), [&](const auto& pair) {
               return text.front() == pair[0] && text.back() == pair[1];
           });
}

// Every surrounding pair taken off, with the blanks inside each.
std::string_view Unwrapped(std::string_view text) {
    while (IsWrapped(text)) {
        text = WithoutSurroundingBlanks(text.substr(1, text.size() - 2));
    }
    return text;
}

// Each of the rules below takes a part of the text out of a pasted form, or none when the text
// is not in that form.
using PastedFormRule = std::optional<std::string_view> (*)(std::string_view);

// A URL ("https://user@host:port/path?query"): its authority, without the user information;
// no percent-decoding. The scheme is an ASCII letter, then letters, digits, '+', '-', '.'.
std::optional<std::string_view> UrlAuthority(std::string_view text) {
    if (text.empty() || !IsAsciiLetter(text.front())) {
        return std::nullopt;
    }
    std::size_t schemeEnd = 1;
    while (schemeEnd < text.size() &&
           (IsAsciiLetter(text[schemeEnd]) || IsAsciiDigit(text[schemeEnd]) ||
            text[schemeEnd] == '+' || text[schemeEnd] == '-' || text[schemeEnd] == '.')) {
        ++schemeEnd;
    }
    if (text.substr(schemeEnd, 3) != "://") {
        return std::nullopt;
    }
    std::string_view authority = text.substr(schemeEnd + 3);
    authority = authority.substr(0, authority.find_first_of("/?#"));
    const std::size_t userInfoEnd = authority.rfind('@');
    if (userInfoEnd != std::string_view::npos) {
        authority.remove_prefix(userInfoEnd + 1);
    }
    return authority;
}

// "[X]" (left by a URL's authority) or "[X]:port": X.
std::optional<std::string_view> BracketedHost(std::string_view text) {
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    if (text.size() >= 2 && text.back() == ']') {
        return text.substr(1, text.size() - 2);
    }
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos || colon < 2 || text[colon - 1] != ']' ||
        !IsPort(text.substr(colon + 1))) {
        return std::nullopt;
    }
    return text.substr(1, colon - 2);
}

// A mail header's address literal, "IPv6:2001:db8::1", when what follows is a plain IPv6
// address.
std::optional<std::string_view> SmtpIpv6Literal(std::string_view text) {
    constexpr std::string_view kTag = "IPv6:";
    if (!StartsWithIgnoringCase(text, kTag)) {
        return std::nullopt;
    }
    const std::string_view address = text.substr(kTag.size());
    if (!ParseIpv6Address(address)) {
        return std::nullopt;
    }
    return address;
}

// "host:port" with exactly one colon (an IPv6 address has more).
std::optional<std::string_view> HostBeforePort(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || text.find(':', colon + 1) != std::string_view::npos ||
        !IsPort(text.substr(colon + 1))) {
        return std::nullopt;
    }
    return text.substr(0, colon);
}

// "fe80::1%eth0": the zone names a link of this computer, not a holder.
std::optional<std::string_view> AddressBeforeZone(std::string_view text) {
    const std::size_t percent = text.find('%');
    if (percent == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view address = text.substr(0, percent);
    if (!ParseIpv6Address(address)) {
        return std::nullopt;
    }
    return address;
}

// In this order, each once.
constexpr PastedFormRule kPastedFormRules[] = {
    UrlAuthority, BracketedHost, SmtpIpv6Literal, HostBeforePort, AddressBeforeZone,
};

// What the text names, once no pasted form is left around it.
DestinationValue Classify(const std::string& text) {
    if (text.empty()) {
        return NoDestination{};
    }
    if (const std::optional<std::uint32_t> asNumber = ParseAsNumber(text)) {
        return AsNumber{*asNumber};
    }
    if (std::optional<Prefix> prefix = ParsePrefix(text)) {
        return std::move(*prefix);
    }
    const std::uint32_t dotted = ParseDottedAddress(text);
    if (dotted != kInaddrNone) {
        return Ipv4Destination{text, ToNetworkBytes(dotted)};
    }
    if (const std::optional<Ipv6Address> address = ParseIpv6Address(text)) {
        if (const std::optional<Ipv4Address> mapped = MappedIpv4Address(*address)) {
            return Ipv4Destination{FormatDottedAddress(*mapped), *mapped};
        }
        return Ipv6Destination{*address};
    }
    return HostName{text};
}

// A prefix length: decimal, one to three digits, no leading zero but "0" itself.
std::optional<unsigned> ParsePrefixLength(std::string_view text, unsigned largest) {
    if (text.size() > 3 || (text.size() > 1 && text.front() == '0')) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> length = ParseDecimal(text, largest);
    if (!length) {
        return std::nullopt;
    }
    return static_cast<unsigned>(*length);
}

// The address with every bit after the first `length` cleared.
template <std::size_t N>
std::array<std::uint8_t, N> NetworkOf(std::array<std::uint8_t, N> address, unsigned length) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t bitsBefore = 8 * i;
        if (length <= bitsBefore) {
            address[i] = 0;
        } else if (length < bitsBefore + 8) {
            address[i] &= static_cast<std::uint8_t>(0xFFu << (bitsBefore + 8 - length));
        }
    }
    return address;
}

template <typename Address>
Prefix MakePrefix(const Address& address, unsigned length, std::string (*format)(const Address&)) {
    const Address network = NetworkOf(address, length);
    return Prefix{network, length, format(network) + "/" + std::to_string(length)};
}

}  // namespace

std::optional<std::uint32_t> ParseAsNumber(std::string_view text) {
    // "AS" or "ASN" in any case, at most one space, then asplain ("AS15169") or asdot
    // ("AS1.10", the high and low 16 bits).
    if (!StartsWithIgnoringCase(text, "AS")) {
        return std::nullopt;
    }
    text.remove_prefix(2);
    if (StartsWithIgnoringCase(text, "N")) {
        text.remove_prefix(1);
    }
    if (StartsWith(text, " ")) {
        text.remove_prefix(1);
    }
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        return ParseDecimal(text, kLargestAsNumber);
    }
    const std::optional<std::uint32_t> high = ParseDecimal(text.substr(0, dot), kLargestAsdotPart);
    const std::optional<std::uint32_t> low = ParseDecimal(text.substr(dot + 1), kLargestAsdotPart);
    if (!high || !low) {
        return std::nullopt;
    }
    return *high << 16 | *low;
}

std::optional<Prefix> ParsePrefix(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos || text.find('/', slash + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view addressText = text.substr(0, slash);
    const std::string_view lengthText = text.substr(slash + 1);
    if (const std::optional<Ipv4Address> ipv4 = ParseDottedQuad(addressText)) {
        const std::optional<unsigned> length = ParsePrefixLength(lengthText, 32);
        if (!length) {
            return std::nullopt;
        }
        return MakePrefix(*ipv4, *length, &FormatDottedAddress);
    }
    if (const std::optional<Ipv6Address> ipv6 = ParseIpv6Address(addressText)) {
        const std::optional<unsigned> length = ParsePrefixLength(lengthText, 128);
        if (!length) {
            return std::nullopt;
        }
        return MakePrefix(*ipv6, *length, &FormatIpv6Address);
    }
    return std::nullopt;
}

Destination ReadDestination(std::string_view typed) {
    Destination destination;
    destination.typed = std::string(WithoutSurroundingBlanks(typed));
    const std::string refanged = Refanged(destination.typed);
    std::string_view text = Unwrapped(refanged);
    for (const PastedFormRule rule : kPastedFormRules) {
        if (const std::optional<std::string_view> part = rule(text)) {
            text = *part;
        }
    }
    destination.text = std::string(text);
    destination.value = Classify(destination.text);
    return destination;
}

DestinationKind KindOf(const Destination& destination) {
    // In the order of the variant's alternatives.
    constexpr DestinationKind kKinds[] = {DestinationKind::None,     DestinationKind::Address,
                                          DestinationKind::Address,  DestinationKind::Prefix,
                                          DestinationKind::AsNumber, DestinationKind::HostName};
    static_assert(std::size(kKinds) == std::variant_size_v<DestinationValue>);
    return kKinds[destination.value.index()];
}

std::string_view KindName(DestinationKind kind) {
    switch (kind) {
        case DestinationKind::Address:
            return "address";
        case DestinationKind::Prefix:
            return "prefix";
        case DestinationKind::AsNumber:
            return "as";
        case DestinationKind::HostName:
            return "name";
        case DestinationKind::None:
            break;
    }
    return {};
}

std::string AsNumberText(std::uint32_t value) {
    return "AS" + std::to_string(value);
}

std::string ReadText(const Destination& destination) {
    struct Text {
        std::string operator()(const NoDestination&) const { return {}; }
        std::string operator()(const Ipv4Destination& read) const { return read.text; }
        std::string operator()(const Ipv6Destination& read) const {
            return FormatIpv6Address(read.address);
        }
        std::string operator()(const Prefix& read) const { return read.text; }
        std::string operator()(const AsNumber& read) const { return AsNumberText(read.value); }
        std::string operator()(const HostName& read) const { return read.name; }
    };
    return std::visit(Text{}, destination.value);
}

bool ReadingChangedIt(const Destination& destination) {
    if (destination.text != destination.typed) {
        return true;
    }
    const DestinationKind kind = KindOf(destination);
    return (kind == DestinationKind::AsNumber || kind == DestinationKind::Prefix) &&
           ReadText(destination) != destination.text;
}

}  // namespace quorvel
