// The IPv6 parser on arbitrary text: it accepts exactly what the C library's inet_pton accepts,
// as the same bytes; and the canonical text it prints reads back as the same address, both here
// and in inet_pton, and is the text inet_ntop prints wherever inet_ntop writes no dotted quad.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "Ipv6Address.h"

#ifdef __GLIBC__
#include <arpa/inet.h>
#include <netinet/in.h>
#endif

namespace {

using quorvel::Ipv6Address;

#ifdef __GLIBC__
// glibc's reading of a text: the rules the parser follows.
std::optional<Ipv6Address> SystemParse(const std::string& text) {
    Ipv6Address address{};
    if (::inet_pton(AF_INET6, text.c_str(), address.data()) != 1) {
        return std::nullopt;
    }
    return address;
}

std::string SystemFormat(const Ipv6Address& address) {
    char text[INET6_ADDRSTRLEN] = {};
    QUORVEL_FUZZ_CHECK(::inet_ntop(AF_INET6, address.data(), text, sizeof text) != nullptr);
    return text;
}

void CompareWithSystem(std::string_view text, const std::optional<Ipv6Address>& parsed) {
    // inet_pton would read only up to a NUL; the parser sees the whole text.
    if (text.find('\0') != std::string_view::npos) {
        QUORVEL_FUZZ_CHECK(!parsed);
        return;
    }
    QUORVEL_FUZZ_CHECK(SystemParse(std::string(text)) == parsed);
}

void CompareCanonicalText(const Ipv6Address& address, const std::string& printed) {
    QUORVEL_FUZZ_CHECK(SystemParse(printed) == address);
    const std::string systemText = SystemFormat(address);
    QUORVEL_FUZZ_CHECK(quorvel::ParseIpv6Address(systemText) == address);
    if (systemText.find('.') == std::string::npos) {
        QUORVEL_FUZZ_CHECK(systemText == printed);
    }
}
#else
void CompareWithSystem(std::string_view, const std::optional<Ipv6Address>&) {}
void CompareCanonicalText(const Ipv6Address&, const std::string&) {}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<Ipv6Address> parsed = quorvel::ParseIpv6Address(text);
    CompareWithSystem(text, parsed);
    if (!parsed) {
        return 0;
    }
    const std::string printed = quorvel::FormatIpv6Address(*parsed);
    QUORVEL_FUZZ_CHECK(printed.size() <= 39);
    QUORVEL_FUZZ_CHECK(printed.find_first_not_of("0123456789abcdef:") == std::string::npos);
    QUORVEL_FUZZ_CHECK(quorvel::ParseIpv6Address(printed) == parsed);
    CompareCanonicalText(*parsed, printed);
    // An IPv4-mapped address prints as "::ffff:" and two more groups, and nothing else does.
    const bool mappedText =
        printed.rfind("::ffff:", 0) == 0 && std::count(printed.begin(), printed.end(), ':') == 4;
    QUORVEL_FUZZ_CHECK(quorvel::MappedIpv4Address(*parsed).has_value() == mappedText);
    return 0;
}
