// The registries' reply scanners: the shared walk's rules on written replies, and what each
// scanner reads from captured real replies.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <functional>
#include <vector>

#include "Scanners.h"
#include "TestData.h"

namespace quorvel {
namespace {

using testing::ReadReply;

using Scanner = std::function<std::optional<std::size_t>(std::string_view, ScanFields&)>;

const Scanner kApnic = ScanApnicReply;
const Scanner kArin = ScanArinReply;
const Scanner kRipe = ScanRipeReply;
const Scanner kLacnic = ScanLacnicReply;

struct ScanCase {
    const char* name;
    Scanner scanner;
    std::string reply;
    const char* recordFrom;  // the record's first characters, or nullptr for no record start
    std::string netName;
    std::string orgId;
    std::string owner;
};

void PrintTo(const ScanCase& scanCase, std::ostream* out) {
    *out << scanCase.name;
}

// Runs the scan on an exactly sized copy of the reply, so that a read past its end shows up
// under the address sanitizer.
void ExpectScan(const ScanCase& c) {
    const std::vector<char> exact(c.reply.begin(), c.reply.end());
    const std::string_view reply(exact.data(), exact.size());
    ScanFields fields;
    const std::optional<std::size_t> start = c.scanner(reply, fields);
    if (c.recordFrom == nullptr) {
        EXPECT_FALSE(start.has_value()) << "record start at " << start.value_or(0);
    } else {
        ASSERT_TRUE(start.has_value());
        EXPECT_EQ(reply.substr(*start, std::string_view(c.recordFrom).size()), c.recordFrom);
    }
    EXPECT_EQ(fields.netName, c.netName);
    EXPECT_EQ(fields.orgId, c.orgId);
    EXPECT_EQ(fields.owner, c.owner);
}

class WalkRules : public ::testing::TestWithParam<ScanCase> {};
TEST_P(WalkRules, ReadsWhatTheKeysSay) {
    ExpectScan(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Written, WalkRules,
    ::testing::Values(
        ScanCase{"ApnicCommentsThenRecord", kApnic,
                 "% comment one\n% comment two\n\ninetnum:   203.0.0.0 - 203.0.0.255\n"
                 "netname:      EXAMPLE-TW\ncountry: TW\n",
                 "inetnum:   203", "EXAMPLE-TW", "", ""},
        ScanCase{"ApnicKeysMatchInsideLines", kApnic, "xyz i here\nabc n1234567VALUE\n", "i here",
                 "VALUE", "", ""},
        ScanCase{"ApnicNoNetNameAfterRecord", kApnic, "inetnum: 1.0.0.0\ndescr: x\n", "inetnum", "",
                 "", ""},
        ScanCase{"ApnicValuesAreNotTrimmedAtTheirEnd", kApnic,
                 "inetnum: 1.0.0.0\r\nnetname: NAME-TW \r\n", "inetnum", "NAME-TW \r", "", ""},
        ScanCase{"ApnicCommentMarkMidLineEndsTheLine", kApnic, "ab%cd i\ninetnum\n", "inetnum", "",
                 "", ""},
        ScanCase{"ApnicLongValueCutTo151", kApnic, "netname: " + std::string(10000, 'X') + "\n",
                 nullptr, std::string(151, 'X'), "", ""},
        ScanCase{"ApnicKeyAtTheVeryEnd", kApnic, "inetnum: 1\nn", "inetnum", "", "", ""},
        ScanCase{"ApnicCommentWithoutLineEnd", kApnic, "% no end", nullptr, "", "", ""},
        ScanCase{"EmptyReply", kApnic, "", nullptr, "", "", ""},
        ScanCase{"ArinOrgNameRecordOrgIdAndNetName", kArin,
                 "\nOrgName:    Example Cable\nOrgID:      EXCA\nCity:       NewNation\n"
                 "Country:    US\nNetRange:   NetName-like\nNetName:    EXCA-74\nOrgId: LATE\n",
                 "OrgName:    Example", "EXCA-74", "EXCA", ""},
        ScanCase{"ArinSkipsKeepValuesFromBeingRead", kArin,
                 "Address: 1 NetNorth Way\nStateProv: ON-NORTH\nPostalCode: NoNN\n"
                 "CIDR: OxxNx\nComment: OrgName inside a comment\nNetName: REAL\n",
                 nullptr, "REAL", "", ""},
        ScanCase{"ArinFurtherTestBeyondTheEnd", kArin, "\nO", nullptr, "", "", ""},
        ScanCase{"ArinMatchListHasNoKeysOfItsOwn", kArin,
                 "Example Cable Inc. EXCA-74 (NET-74-0-0-0-1) 74.0.0.0 - 74.255.255.255\n", nullptr,
                 "", "", ""},
        ScanCase{"RipeLastNetNameBeforeTheStopCounts", kRipe,
                 "inetnum: 62.0.0.0\nnetname: FIRST\nnetname: SECOND\nadmin-c: X\nnetname: LATE\n",
                 "inetnum: 62", "SECOND", "", ""},
        ScanCase{"RipeStopsAtAnyUnconsumedA", kRipe,
                 "inetnum: 62.0.0.0\nremarks: x\nnetname: LATE\n", "inetnum", "", "", ""},
        ScanCase{"RipeDescrAndCountryAreSkipped", kRipe,
                 "descr:  an abacus\ncountry: a\nnetname: NAME\nadmin-c: X\n", nullptr, "NAME", "",
                 ""},
        ScanCase{"LacnicOwnerWithoutItsCarriageReturn", kLacnic,
                 "\r\n% Joint Whois\r\n\r\ninetnum:     200.0/16\r\nstatus:      allocated\r\n"
                 "owner:       Owner S.A.\r\nownerid:     XX-OWNER\r\ncountry:     XX\r\n",
                 "inetnum:     200", "", "", "Owner S.A."},
        ScanCase{"LacnicStopsAtCountry", kLacnic,
                 "inetnum: 200.0/16\r\ncountry: BR\r\nowner: Late\r\n", "inetnum", "", "", ""},
        ScanCase{"LacnicOwnerIdIsNotAnOwner", kLacnic, "ownerid:     BR-X\r\n", nullptr, "", "",
                 ""},
        ScanCase{"LacnicLineFeedRepliesEndAtTheFirstSkip", kLacnic,
                 "inetnum: 200.0/16\nowner: Not read\n", "inetnum", "", "", ""}),
    testing::CaseName<ScanCase>);

class CapturedReplies : public ::testing::TestWithParam<ScanCase> {};
TEST_P(CapturedReplies, ReadWhatTheRegistrySent) {
    ExpectScan(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
    Real, CapturedReplies,
    ::testing::Values(
        ScanCase{"Apnic_1_1_1_1", kApnic, ReadReply("whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt"),
                 "inetnum:        1.1.1.0", "APNIC-LABS", "", ""},
        ScanCase{"Apnic_110_8", kApnic,
                 ReadReply("whois.apnic.net/ipv4-110.8.x_skbroadband_krnic-mirror.txt"),
                 "inetnum:        110.8.0.0", "broadNnet", "", ""},
        ScanCase{"Apnic_210_107", kApnic,
                 ReadReply("whois.apnic.net/ipv4-210.107.73.73_boranet-kr.txt"),
                 "inetnum:        210.107.0.0", "BORANET-NET-210-107", "", ""},
        ScanCase{"Apnic_218_28", kApnic, ReadReply("whois.apnic.net/ipv4-218.28.x_unicom-ha.txt"),
                 "inetnum:        218.28.0.0", "UNICOM-HA", "", ""},
        // Today's ARIN layout names the network before the organisation, so the scan ends
        // before it reaches OrgName or OrgId.
        ScanCase{"Arin_Google", kArin, ReadReply("whois.arin.net/ipv4-74.125.225.229_google.txt"),
                 nullptr, "GOOGLE", "", ""},
        ScanCase{"Arin_RipeErx", kArin,
                 ReadReply("whois.arin.net/ipv4-130.66.76.222_ripe-erx_orgid-RIPE.txt"), nullptr,
                 "RIPE-ERX-130-66-0-0", "", ""},
        ScanCase{"Ripe_128_79", kRipe,
                 ReadReply("whois.ripe.net/ipv4-128.79.x_bouygtel-isp-cable.txt"),
                 "inetnum:        128.79.0.0", "BOUYGTEL-ISP-CABLE", "", ""},
        ScanCase{"Ripe_185_1_1", kRipe,
                 ReadReply("whois.ripe.net/ipv4-185.1.1.x_pix-palestine-ix.txt"),
                 "inetnum:        185.1.1.0", "PIX", "", ""},
        ScanCase{"Ripe_62_239", kRipe,
                 ReadReply("whois.ripe.net/ipv4-62.239.237.1_bt-corporate.txt"),
                 "inetnum:        62.239.237.0", "BT-CORPORATE", "", ""},
        ScanCase{"Lacnic_CrLf", kLacnic,
                 ReadReply("whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt"),
                 "inetnum:     200.57.128/19", "", "", "Triara.com, S.A. de C.V."},
        ScanCase{"Lacnic_LineFeedOnly", kLacnic,
                 ReadReply("whois.lacnic.net/ipv4-200.68.34.56_cl-reallocated.txt"), "inetnum:", "",
                 "", ""}),
    testing::CaseName<ScanCase>);

}  // namespace
}  // namespace quorvel
