// The Windows window's text: a report's bytes become the characters the Linux window shows, with
// the CR LF line breaks of an edit control; typed text goes to the Locate command as UTF-8.
#include <gtest/gtest.h>

#include "CaseName.h"
#include "Utf16Text.h"
#include "WideText.h"

namespace quorvel {
namespace {

struct ShownCase {
    const char* name;
    std::string bytes;
    std::wstring shown;
};

void PrintTo(const ShownCase& shownCase, std::ostream* out) {
    *out << shownCase.name;
}

class ShownWideTextTest : public ::testing::TestWithParam<ShownCase> {};

TEST_P(ShownWideTextTest, ShowsTheLinuxWindowsCharactersWithCrLf) {
    EXPECT_EQ(ShownWideText(GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ShownWideTextTest,
    ::testing::Values(ShownCase{"Empty", "", L""},
                      ShownCase{"CrLfStaysOneBreak", "Name:    a\r\nAddress: b\r\n\r\nx",
                                L"Name:    a\r\nAddress: b\r\n\r\nx"},
                      ShownCase{"LineFeedBecomesCrLf", "a\nb", L"a\r\nb"},
                      ShownCase{"LacnicCrCrLfIsOneBreak", "owner: x\r\r\nend", L"owner: x\r\nend"},
                      ShownCase{"Utf8LineAsUtf8", "S\xC3\xA3o Paulo", L"S\u00E3o Paulo"},
                      ShownCase{"Latin1LineAsLatin1", "M\xFCnchen\nS\xC3\xA3o",
                                L"M\u00FCnchen\r\nS\u00E3o"},
                      ShownCase{"CharacterBeyondTheBasicPlane", "\xF0\x9F\x8C\x90", L"\U0001F310"},
                      ShownCase{"NulShowsAsTheSymbolForNull", std::string("a\0b", 3), L"a\u2400b"}),
    testing::CaseName<ShownCase>);

TEST(Utf8FromWide, TypedTextReachesTheCommandAsUtf8) {
    EXPECT_EQ(Utf8FromWide(L"www.m\u00FCnchen.test"), "www.m\xC3\xBCnchen.test");
    EXPECT_EQ(Utf8FromWide(L""), "");
}

}  // namespace
}  // namespace quorvel
