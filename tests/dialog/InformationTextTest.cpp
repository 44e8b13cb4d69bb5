// What the information box shows for a report's bytes: encodings and line breaks.
#include "InformationText.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

struct Case {
    const char* name;
    std::string bytes;
    std::string shown;
};

using namespace std::string_literals;

const Case kCases[] = {
    Case{"Empty", "", ""},
    Case{"PlainAscii", "inetnum: 1.1.1.0 - 1.1.1.255", "inetnum: 1.1.1.0 - 1.1.1.255"},
    Case{"HeaderCrLf", "Name:    a\r\nAddress: 1.2.3.4\r\n\r\nx",
         "Name:    a\nAddress: 1.2.3.4\n\nx"},
    Case{"LineFeedOnly", "a\nb\n", "a\nb\n"},
    Case{"LacnicCrCrLfIsOneBreak", "owner: X\r\r\nnic-hdl: Y\r\r\n", "owner: X\nnic-hdl: Y\n"},
    Case{"LoneCrKept", "a\rb", "a\rb"},
    Case{"CrBeforeCrCrLf", "a\r\r\r\nb", "a\r\nb"},
    Case{"TrailingCr", "a\r", "a\r"},
    Case{"Latin1Line", "address: M\xFCnchen", "address: M\xC3\xBCnchen"},
    Case{"Utf8Line", "owner: Telef\xC3\xB3nica", "owner: Telef\xC3\xB3nica"},
    Case{"EachLineDecidedAlone", "Name:    \xC3\xA9t\xC3\xA9\r\nrole: S\xE3o\r\n",
         "Name:    \xC3\xA9t\xC3\xA9\nrole: S\xC3\xA3o\n"},
    Case{"OverlongIsLatin1", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
    Case{"SurrogateIsLatin1", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},
    Case{"TruncatedSequenceIsLatin1", "x\xE2\x82", "x\xC3\xA2\xC2\x82"},
    Case{"FourByteUtf8", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
    Case{"PastUnicodeIsLatin1", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},
    Case{"NulShownAsSymbol", "a\0b"s,
         "a\xE2\x90\x80"
         "b"},
    Case{"NulInLatin1Line", "\xE9\0"s, "\xC3\xA9\xE2\x90\x80"},
};

TEST(InformationText, ShowsBytesAsText) {
    for (const Case& each : kCases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(InformationBoxText(each.bytes), each.shown);
    }
}

// Decodes UTF-8 text of code points below U+0100 back into one byte each.
std::string Latin1Bytes(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
        } else {
            const auto next = static_cast<unsigned char>(utf8[++i]);
            bytes += static_cast<char>((lead & 0x03) << 6 | (next & 0x3F));
        }
    }
    return bytes;
}

TEST(InformationText, KeepsEveryByteOfALatin1Line) {
    std::string line;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') {
            line += static_cast<char>(byte);
        }
    }
    EXPECT_EQ(Latin1Bytes(InformationBoxText(line)), line);
}

}  // namespace
}  // namespace quorvel
