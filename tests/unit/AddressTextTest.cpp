// The address texts: the classic dotted notation of IPv4, IPv6 as read and as written, the ASCII
// form of an international host name, and the destination reader that turns a typed or pasted
// text into what it names.
#include <gtest/gtest.h>

#include "CaseName.h"
#include "Destination.h"
#include "DottedAddress.h"
#include "HostNameIdna.h"
#include "Ipv6Address.h"

namespace quorvel {
namespace {

struct ParseCase {
    const char* text;
    std::uint32_t expected;
};

class DottedAddressParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DottedAddressParse, GivesTheAddressOrNone) {
    EXPECT_EQ(ParseDottedAddress(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    ClassicNotation, DottedAddressParse,
    ::testing::Values(
        ParseCase{"192.0.2.1", 0xC0000201u}, ParseCase{"0.0.0.0", 0u},
        ParseCase{"255.255.255.254", 0xFFFFFFFEu},
        // Fewer parts: the last one fills the remaining bits.
        ParseCase{"10.1.258", 0x0A010102u}, ParseCase{"10.65535", 0x0A00FFFFu},
        ParseCase{"127.1", 0x7F000001u}, ParseCase{"3232235777", 0xC0A80101u},
        // Octal and hexadecimal parts.
        ParseCase{"0300.0250.01.01", 0xC0A80101u}, ParseCase{"0xC0.0XA8.0x1.1", 0xC0A80101u},
        ParseCase{"0", 0u}, ParseCase{"0x0", 0u},
        // The failure value itself: this address goes the host-name way.
        ParseCase{"255.255.255.255", kInaddrNone}, ParseCase{"0xffffffff", kInaddrNone},
        // Not addresses.
        ParseCase{"", kInaddrNone}, ParseCase{"www.example.com", kInaddrNone},
        ParseCase{"1.2.3.4.5", kInaddrNone}, ParseCase{"1..2.3", kInaddrNone},
        ParseCase{"1.2.3.", kInaddrNone}, ParseCase{".1.2.3", kInaddrNone},
        ParseCase{"256.1.1.1", kInaddrNone}, ParseCase{"1.2.3.256", kInaddrNone},
        ParseCase{"1.2.65536", kInaddrNone}, ParseCase{"1.16777216", kInaddrNone},
        ParseCase{"4294967296", kInaddrNone}, ParseCase{"08.1.1.1", kInaddrNone},
        ParseCase{"0x", kInaddrNone}, ParseCase{"0xg.1.1.1", kInaddrNone},
        ParseCase{"1.2.3.4 ", kInaddrNone}, ParseCase{" 1.2.3.4", kInaddrNone},
        ParseCase{"1.2.3.4x", kInaddrNone}, ParseCase{"-1.2.3.4", kInaddrNone},
        ParseCase{"+1.2.3.4", kInaddrNone}, ParseCase{"99999999999999999999", kInaddrNone}));

TEST(DottedAddressFormat, PrintsFourDecimalParts) {
    EXPECT_EQ(FormatDottedAddress(ToNetworkBytes(0xC0A80101u)), "192.168.1.1");
    EXPECT_EQ(FormatDottedAddress({0, 0, 0, 0}), "0.0.0.0");
    EXPECT_EQ(FormatDottedAddress({255, 10, 0, 7}), "255.10.0.7");
}

struct Ipv6Case {
    const char* text;
    const char* canonical;  // nullptr: not an address
};

class Ipv6AddressText : public ::testing::TestWithParam<Ipv6Case> {};

TEST_P(Ipv6AddressText, ReadsAsTheCanonicalTextOrNone) {
    const std::optional<Ipv6Address> address = ParseIpv6Address(GetParam().text);
    if (GetParam().canonical == nullptr) {
        EXPECT_FALSE(address) << GetParam().text;
        return;
    }
    ASSERT_TRUE(address) << GetParam().text;
    EXPECT_EQ(FormatIpv6Address(*address), GetParam().canonical) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Notation, Ipv6AddressText,
    ::testing::Values(
        Ipv6Case{"2001:db8::1", "2001:db8::1"}, Ipv6Case{"::", "::"}, Ipv6Case{"::1", "::1"},
        Ipv6Case{"1::", "1::"}, Ipv6Case{"0:0:0:0:0:0:0:0", "::"},
        // Upper case and leading zeros are read, and written the one way.
        Ipv6Case{"2001:0DB8:0000:0000:0000:0000:0000:0001", "2001:db8::1"},
        Ipv6Case{"ABCD:EF01::0", "abcd:ef01::"}, Ipv6Case{"1::0:0", "1::"},
        // "::" for one group is read; one zero group is written "0".
        Ipv6Case{"1:2:3:4:5:6:7::", "1:2:3:4:5:6:7:0"},
        Ipv6Case{"::2:3:4:5:6:7:8", "0:2:3:4:5:6:7:8"},
        Ipv6Case{"2001:db8:0:1:1:1:1:1", "2001:db8:0:1:1:1:1:1"},
        Ipv6Case{"0:0:0:0:0:0:1:0", "::1:0"},
        // The longest run of zero groups, the first one on a tie.
        Ipv6Case{"1:0:0:2:0:0:3:4", "1::2:0:0:3:4"}, Ipv6Case{"1:0:0:2:0:0:0:3", "1:0:0:2::3"},
        Ipv6Case{"0:0:1:0:0:0:0:0", "0:0:1::"},
        // A trailing dotted quad is read, never written.
        Ipv6Case{"::ffff:1.2.3.4", "::ffff:102:304"}, Ipv6Case{"::8.8.8.8", "::808:808"},
        Ipv6Case{"1:2:3:4:5:6:255.0.10.0", "1:2:3:4:5:6:ff00:a00"},
        // Not addresses.
        Ipv6Case{"", nullptr}, Ipv6Case{"fe80::1%eth0", nullptr}, Ipv6Case{"[::1]", nullptr},
        Ipv6Case{":::", nullptr}, Ipv6Case{"1:::2", nullptr}, Ipv6Case{"1::2::3", nullptr},
        Ipv6Case{"1:2:3:4:5:6:7:8:9", nullptr}, Ipv6Case{"1:2:3:4:5:6:7", nullptr},
        Ipv6Case{"1:2:3:4:5:6:7::8", nullptr}, Ipv6Case{"12345::", nullptr},
        Ipv6Case{"g::1", nullptr}, Ipv6Case{":1::", nullptr}, Ipv6Case{"1::2:", nullptr},
        Ipv6Case{":1:2:3:4:5:6:7:8", nullptr}, Ipv6Case{"1:2:3:4:5:6:7:8:", nullptr},
        Ipv6Case{" ::1", nullptr}, Ipv6Case{"::1 ", nullptr}, Ipv6Case{"1:: 2", nullptr},
        Ipv6Case{"::1.2.3", nullptr}, Ipv6Case{"::1.2.3.4.5", nullptr},
        Ipv6Case{"::256.1.1.1", nullptr}, Ipv6Case{"::01.2.3.4", nullptr},
        Ipv6Case{"::1..3.4", nullptr}, Ipv6Case{"1.2.3.4::", nullptr},
        Ipv6Case{"::1.2.3.4:5", nullptr}, Ipv6Case{"1.2.3.4", nullptr},
        Ipv6Case{"1:2:3:4:5:6::1.2.3.4", nullptr}, Ipv6Case{"1:2:3:4:5:6:7:1.2.3.4", nullptr}));

struct MappedCase {
    const char* text;
    const char* ipv4;  // nullptr: not an IPv4-mapped address
};

class Ipv6MappedAddress : public ::testing::TestWithParam<MappedCase> {};

TEST_P(Ipv6MappedAddress, CarriesItsIpv4AddressOrNone) {
    const std::optional<Ipv6Address> address = ParseIpv6Address(GetParam().text);
    ASSERT_TRUE(address) << GetParam().text;
    const std::optional<Ipv4Address> ipv4 = MappedIpv4Address(*address);
    if (GetParam().ipv4 == nullptr) {
        EXPECT_FALSE(ipv4) << GetParam().text;
        return;
    }
    ASSERT_TRUE(ipv4) << GetParam().text;
    EXPECT_EQ(FormatDottedAddress(*ipv4), GetParam().ipv4) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Ipv4Mapped, Ipv6MappedAddress,
                         ::testing::Values(MappedCase{"::ffff:192.0.2.1", "192.0.2.1"},
                                           MappedCase{"::FFFF:c000:201", "192.0.2.1"},
                                           MappedCase{"0:0:0:0:0:ffff:0.0.0.0", "0.0.0.0"},
                                           MappedCase{"0000::ffff:255.254.0.1", "255.254.0.1"},
                                           MappedCase{"::192.0.2.1", nullptr},
                                           MappedCase{"::fffe:192.0.2.1", nullptr},
                                           MappedCase{"1::ffff:192.0.2.1", nullptr},
                                           MappedCase{"::ffff:0:192.0.2.1", nullptr},
                                           MappedCase{"::1", nullptr}));

struct HostNameCase {
    const char* name;
    std::string typed;
    const char* ascii;  // nullptr: refused
};

void PrintTo(const HostNameCase& hostNameCase, std::ostream* out) {
    *out << hostNameCase.name;
}

std::string Repeated(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

class AsciiHostNameText : public ::testing::TestWithParam<HostNameCase> {};

TEST_P(AsciiHostNameText, IsTheNameTheResolverIsAskedOrNone) {
    const std::optional<std::string> ascii = AsciiHostName(GetParam().typed);
    if (GetParam().ascii == nullptr) {
        EXPECT_FALSE(ascii) << ascii.value_or("");
        return;
    }
    ASSERT_TRUE(ascii);
    EXPECT_EQ(*ascii, GetParam().ascii);
}

// Rows on which libidn2 (Linux) and the system's conversion (Windows) agree.
INSTANTIATE_TEST_SUITE_P(
    International, AsciiHostNameText,
    ::testing::Values(
        // ASCII names go to the resolver as they are, whatever IDNA would say of them.
        HostNameCase{"AsciiStaysAsTyped", "WWW.Example.test", "WWW.Example.test"},
        HostNameCase{"AsciiFormStaysAsTyped", "xn--bcher-kva.example", "xn--bcher-kva.example"},
        HostNameCase{"AsciiIdnaWouldRefuse", "-a_b-.example", "-a_b-.example"},
        HostNameCase{"LowerCase", u8"b\u00FCcher.example", "xn--bcher-kva.example"},
        HostNameCase{"UpperCaseIsLowerCase", u8"B\u00DCCHER.example", "xn--bcher-kva.example"},
        HostNameCase{"Japanese", u8"\u4F8B\u3048.\u30C6\u30B9\u30C8", "xn--r8jz45g.xn--zckzah"},
        HostNameCase{"IdeographicFullStopSeparatesLabels", u8"\u4F8B\u3048\u3002\u30C6\u30B9\u30C8",
                     "xn--r8jz45g.xn--zckzah"},
        HostNameCase{"CombiningMarkIsComposed", u8"bu\u0308cher.example", "xn--bcher-kva.example"},
        // Refused: bytes that are not UTF-8, and names IDNA does not allow.
        HostNameCase{"Latin1IsNotUtf8", "m\xFCnchen.example", nullptr},
        HostNameCase{"CutSequence", "m\xC3", nullptr},
        HostNameCase{"OverlongSlash", "\xC0\xAF.example", nullptr},
        HostNameCase{"EncodedSurrogate", "\xED\xA0\x80.example", nullptr},
        HostNameCase{"NulInside", std::string(u8"\u00FC\0.example", 11), nullptr},
        HostNameCase{"PrivateUseCharacter", u8"\uE000.example", nullptr},
        HostNameCase{"LabelTooLong", Repeated(u8"\u00FC", 64) + ".example", nullptr}),
    testing::CaseName<HostNameCase>);

struct ReadCase {
    const char* typed;
    DestinationKind kind;
    const char* read;  // ReadText: what the header shows and the lookup asks
};

void PrintTo(const ReadCase& readCase, std::ostream* out) {
    *out << '"' << readCase.typed << '"';
}

class DestinationReading : public ::testing::TestWithParam<ReadCase> {};

// Each row is one rule of the reading with its edge. Reading an address, prefix or AS number as
// the header shows it names the same destination again (a host name may have been left by a
// pasted form that reading it on its own would take apart).
TEST_P(DestinationReading, NamesWhatThePastedTextNames) {
    const ReadCase& c = GetParam();
    const Destination destination = ReadDestination(c.typed);
    EXPECT_EQ(KindOf(destination), c.kind);
    EXPECT_EQ(ReadText(destination), c.read);
    if (c.kind != DestinationKind::HostName) {
        EXPECT_EQ(ReadDestination(ReadText(destination)).value, destination.value);
    }
}

constexpr DestinationKind kNone = DestinationKind::None;
constexpr DestinationKind kAddress = DestinationKind::Address;
constexpr DestinationKind kPrefix = DestinationKind::Prefix;
constexpr DestinationKind kAs = DestinationKind::AsNumber;
constexpr DestinationKind kName = DestinationKind::HostName;

INSTANTIATE_TEST_SUITE_P(AsToday, DestinationReading,
                         ::testing::Values(ReadCase{"", kNone, ""}, ReadCase{" \t\r\n", kNone, ""},
                                           ReadCase{" 8.8.8.8\r\n", kAddress, "8.8.8.8"},
                                           ReadCase{"127.1", kAddress, "127.1"},
                                           ReadCase{"0x7f.1", kAddress, "0x7f.1"},
                                           ReadCase{"255.255.255.255", kName, "255.255.255.255"},
                                           ReadCase{"2001:0DB8::1", kAddress, "2001:db8::1"},
                                           ReadCase{"::ffff:1.1.1.1", kAddress, "1.1.1.1"},
                                           ReadCase{"example.org", kName, "example.org"},
                                           ReadCase{"1.1. 1.1", kName, "1.1. 1.1"}));

INSTANTIATE_TEST_SUITE_P(
    PastedForms, DestinationReading,
    ::testing::Values(
        // a. Defanged dots and colons, one pass from the left, brackets matching.
        ReadCase{"8.8.8[.]8", kAddress, "8.8.8.8"},
        ReadCase{"evil(DOT)example{.}org", kName, "evil.example.org"},
        ReadCase{"2001[:]db8[:][:]1", kAddress, "2001:db8::1"},
        ReadCase{"evil[dot)example", kName, "evil[dot)example"},
        ReadCase{"x[[.]]y", kName, "x[.]y"},
        // b. Surrounding pairs, nested, with the blanks inside them.
        ReadCase{"[203.0.113.5]", kAddress, "203.0.113.5"},
        ReadCase{"<8.8.8.8>", kAddress, "8.8.8.8"}, ReadCase{"\"8.8.8.8\"", kAddress, "8.8.8.8"},
        ReadCase{"( < '8.8.8.8' > )", kAddress, "8.8.8.8"},
        ReadCase{"(8.8.8.8>", kName, "(8.8.8.8>"}, ReadCase{"\"\"", kNone, ""},
        // c. URLs: the authority, without user information; any scheme; no second unwrapping.
        ReadCase{"https://dns.google/resolve?name=x", kName, "dns.google"},
        ReadCase{"hxxps://evil[.]example/", kName, "evil.example"},
        ReadCase{"ftp://user:pw@files.example:21/pub", kName, "files.example"},
        ReadCase{"http://a@b@8.8.8.8#top", kAddress, "8.8.8.8"},
        ReadCase{"https://(1.1.1.1)/", kName, "(1.1.1.1)"},
        ReadCase{"1http://example.org/", kName, "1http://example.org/"},
        // d. "[X]" and "[X]:port".
        ReadCase{"[2001:4860:4860::8888]:443", kAddress, "2001:4860:4860::8888"},
        ReadCase{"https://[2001:db8::1]:8443/", kAddress, "2001:db8::1"},
        ReadCase{"[2001:db8::1]:65536", kName, "[2001:db8::1]:65536"},
        ReadCase{"[ 8.8.8.8]:80", kName, " 8.8.8.8"},
        // e. A mail header's address literal: a plain IPv6 address only.
        ReadCase{"[IPv6:2001:db8::1]", kAddress, "2001:db8::1"},
        ReadCase{"ipv6:2001:DB8::1", kAddress, "2001:db8::1"},
        ReadCase{"IPv6:fe80::1%eth0", kName, "IPv6:fe80::1%eth0"},
        // f. Host and port: exactly one colon, a port of 0 to 65535, leading zeros allowed.
        ReadCase{"8.8.8.8:443", kAddress, "8.8.8.8"},
        ReadCase{"example.org:22", kName, "example.org"},
        ReadCase{"example.org:00443", kName, "example.org"},
        ReadCase{"example.org:65535", kName, "example.org"},
        ReadCase{"example.org:65536", kName, "example.org:65536"},
        ReadCase{"example.org:000443", kName, "example.org:000443"},
        ReadCase{"example.org:", kName, "example.org:"}, ReadCase{":80", kNone, ""},
        // g. Zone index: only after an IPv6 address.
        ReadCase{"fe80::1%eth0", kAddress, "fe80::1"},
        ReadCase{"2001:db8::1%2", kAddress, "2001:db8::1"},
        ReadCase{"example.org%eth0", kName, "example.org%eth0"}));

INSTANTIATE_TEST_SUITE_P(
    AsNumbers, DestinationReading,
    ::testing::Values(
        ReadCase{"AS15169", kAs, "AS15169"}, ReadCase{"as13335", kAs, "AS13335"},
        ReadCase{"ASN 3356", kAs, "AS3356"}, ReadCase{"aSn0042", kAs, "AS42"},
        ReadCase{"AS 0", kAs, "AS0"}, ReadCase{"AS1.10", kAs, "AS65546"},
        ReadCase{"AS0.0", kAs, "AS0"}, ReadCase{"AS65535.65535", kAs, "AS4294967295"},
        ReadCase{"AS000001.00010", kAs, "AS65546"}, ReadCase{"AS4294967295", kAs, "AS4294967295"},
        ReadCase{"AS4294967296", kName, "AS4294967296"}, ReadCase{"AS65536.0", kName, "AS65536.0"},
        ReadCase{"AS1.65536", kName, "AS1.65536"}, ReadCase{"AS  15169", kName, "AS  15169"},
        ReadCase{"AS\t15169", kName, "AS\t15169"}, ReadCase{"AS", kName, "AS"},
        ReadCase{"AS1.", kName, "AS1."}, ReadCase{"AS1.2.3", kName, "AS1.2.3"},
        ReadCase{"AS-15169", kName, "AS-15169"}, ReadCase{"15169", kAddress, "15169"},
        ReadCase{"(AS15169)", kAs, "AS15169"}));

INSTANTIATE_TEST_SUITE_P(
    Prefixes, DestinationReading,
    ::testing::Values(
        ReadCase{"8.8.8.0/24", kPrefix, "8.8.8.0/24"},
        ReadCase{"8.8.8.8/24", kPrefix, "8.8.8.0/24"},
        ReadCase{"11.1.2.3/7", kPrefix, "10.0.0.0/7"}, ReadCase{"1.2.3.4/0", kPrefix, "0.0.0.0/0"},
        ReadCase{"1.2.3.4/32", kPrefix, "1.2.3.4/32"}, ReadCase{"1.2.3.4/33", kName, "1.2.3.4/33"},
        ReadCase{"8.8.8.0/024", kName, "8.8.8.0/024"}, ReadCase{"8.8.8.0/", kName, "8.8.8.0/"},
        ReadCase{"8.8.8.0/2x", kName, "8.8.8.0/2x"}, ReadCase{"10.1/16", kName, "10.1/16"},
        ReadCase{"010.0.0.0/8", kName, "010.0.0.0/8"},
        ReadCase{"8.8.8.0/24/24", kName, "8.8.8.0/24/24"},
        ReadCase{"2001:DB8::1/32", kPrefix, "2001:db8::/32"},
        ReadCase{"2001:db8::/128", kPrefix, "2001:db8::/128"},
        ReadCase{"::1/127", kPrefix, "::/127"}, ReadCase{"2001:db8::/129", kName, "2001:db8::/129"},
        ReadCase{"::ffff:8.8.8.8/120", kPrefix, "::ffff:808:800/120"},
        ReadCase{"[2001:db8::/32]", kPrefix, "2001:db8::/32"},
        ReadCase{"2001:db8::/32%eth0", kName, "2001:db8::/32%eth0"}));

}  // namespace
}  // namespace quorvel
