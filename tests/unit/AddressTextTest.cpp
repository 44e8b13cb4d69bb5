#include "DottedAddress.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quorvel
