// The registries' reply scanners: the shared walk's rules on written replies, and what each
// scanner reads from captured real replies.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <functional>
#include <vector>

#include "RecordSummary.h"
#include "Refusals.h"
#include "Scanners.h"
#include "TestData.h"

namespace quorvel {
namespace {

using testing::HeadBefore;
using testing::ReadReply;
using testing::TailFrom;
using testing::WithCrLf;

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

// The summary of each real reply's record, read by the summary table's row for its registry and
// layout. The record is cut from the reply as the lookup shows it.
struct SummaryCase {
    const char* name;
    Registry registry;
    bool asNumber;
    std::string reply;
    const char* from;       // the record's first line
    const char* until;      // where the shown record ends (nullptr: the reply's end)
    bool crlf;              // the record ending's CR LF line ends (LACNIC's own are kept)
    RecordSummary summary;  // range, network, holder, country
};

void PrintTo(const SummaryCase& summaryCase, std::ostream* out) {
    *out << summaryCase.name;
}

std::string RecordShown(const SummaryCase& c, const std::string& reply) {
    std::string record = TailFrom(reply, c.from);
    if (c.until != nullptr) {
        record = HeadBefore(record, c.until);
    }
    return c.crlf ? WithCrLf(record) : record;
}

class SummaryOfRecords : public ::testing::TestWithParam<SummaryCase> {};
TEST_P(SummaryOfRecords, ReadsRangeNetworkHolderAndCountry) {
    const SummaryCase& c = GetParam();
    const SummaryAttributes* attributes = SummaryAttributesFor(c.registry, c.asNumber);
    ASSERT_NE(attributes, nullptr);

    const RecordSummary summary = SummarizeRecord(*attributes, RecordShown(c, c.reply), c.reply);

    EXPECT_EQ(summary.range, c.summary.range);
    EXPECT_EQ(summary.network, c.summary.network);
    EXPECT_EQ(summary.holder, c.summary.holder);
    EXPECT_EQ(summary.country, c.summary.country);
}

constexpr char kArinEnd[] = "\n#";  // the closing comment block of ARIN's current layout

INSTANTIATE_TEST_SUITE_P(
    Real, SummaryOfRecords,
    ::testing::Values(
        // APNIC: the organisation's name where the record names one, else its first descr.
        SummaryCase{"Apnic_1_1_1_1",
                    Registry::Apnic,
                    false,
                    ReadReply("whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"1.1.1.0 - 1.1.1.255", "APNIC-LABS", "APNIC Research and Development", "AU"}},
        SummaryCase{"Apnic_110_8",
                    Registry::Apnic,
                    false,
                    ReadReply("whois.apnic.net/ipv4-110.8.x_skbroadband_krnic-mirror.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"110.8.0.0 - 110.15.255.255", "broadNnet", "SK Broadband Co Ltd", "KR"}},
        SummaryCase{"Apnic_210_107",
                    Registry::Apnic,
                    false,
                    ReadReply("whois.apnic.net/ipv4-210.107.73.73_boranet-kr.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"210.107.0.0 - 210.107.127.255", "BORANET-NET-210-107", "DACOM Corp.", "KR"}},
        SummaryCase{"Apnic_218_28_CountryBeforeDescr",
                    Registry::Apnic,
                    false,
                    ReadReply("whois.apnic.net/ipv4-218.28.x_unicom-ha.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"218.28.0.0 - 218.29.255.255", "UNICOM-HA",
                     "China Unicom Henan province network", "CN"}},
        // ARIN's current layout: the record from the last NetRange to the closing comments.
        SummaryCase{"Arin_Google",
                    Registry::Arin,
                    false,
                    ReadReply("whois.arin.net/ipv4-74.125.225.229_google.txt"),
                    "NetRange:",
                    kArinEnd,
                    true,
                    {"74.125.0.0 - 74.125.255.255", "GOOGLE", "Google Inc.", "US"}},
        SummaryCase{"Arin_Microsoft",
                    Registry::Arin,
                    false,
                    ReadReply("whois.arin.net/ipv4-20.x_microsoft_ws-trimmed.txt"),
                    "NetRange:",
                    kArinEnd,
                    true,
                    {"20.0.0.0 - 20.31.255.255", "MSFT", "Microsoft Corporation", "US"}},
        SummaryCase{
            "Arin_Level3_2013Layout",
            Registry::Arin,
            false,
            ReadReply("whois.arin.net/ipv4-4.2.2.1_level3.txt"),
            "NetRange:",
            kArinEnd,
            true,
            {"4.0.0.0 - 4.255.255.255", "LVLT-ORG-4-8", "Level 3 Communications, Inc.", "US"}},
        SummaryCase{"Arin_Amazon",
                    Registry::Arin,
                    false,
                    ReadReply("whois.arin.net/ipv4-52.1.217.30_amazon-at-88-z.txt"),
                    "NetRange:",
                    kArinEnd,
                    true,
                    {"52.0.0.0 - 52.31.255.255", "AT-88-Z", "Amazon Technologies Inc.", "US"}},
        SummaryCase{"Arin_RwhoisReferral",
                    Registry::Arin,
                    false,
                    ReadReply("whois.arin.net/ipv4-69.65.39.166_rwhois-referral.txt"),
                    "NetRange:",
                    kArinEnd,
                    true,
                    {"69.65.0.0 - 69.65.63.255", "IPNAP", "GigeNET", "US"}},
        SummaryCase{"Arin_RipeErx",
                    Registry::Arin,
                    false,
                    ReadReply("whois.arin.net/ipv4-130.66.76.222_ripe-erx_orgid-RIPE.txt"),
                    "NetRange:",
                    kArinEnd,
                    true,
                    {"130.66.0.0 - 130.67.255.255", "RIPE-ERX-130-66-0-0",
                     "RIPE Network Coordination Centre", "NL"}},
        SummaryCase{"Arin_ApnicErx",
                    Registry::Arin,
                    false,
                    ReadReply("whois.arin.net/ipv4-144.134.121.81_apnic-erx_orgid-APNIC.txt"),
                    "NetRange:",
                    kArinEnd,
                    true,
                    {"144.130.0.0 - 144.140.255.255", "APNIC-ERX-144-130-0-0",
                     "Asia Pacific Network Information Centre", "AU"}},
        SummaryCase{
            "Arin_PointerToAfrinic",
            Registry::Arin,
            false,
            ReadReply("whois.arin.net/"
                      "ipv4-137.158.x_transferred-to-afrinic_orgid-AFRINIC_slice-no-header.txt"),
            "NetRange:",
            nullptr,
            true,
            {"137.158.0.0 - 137.158.255.255", "AFRINIC-137-158-0-0",
             "African Network Information Center", "MU"}},
        SummaryCase{"Arin_Ipv6Google",
                    Registry::Arin,
                    false,
                    ReadReply("whois.arin.net/ipv6-2001.4860.4860..8888_google.txt"),
                    "NetRange:",
                    kArinEnd,
                    true,
                    {"2001:4860:: - 2001:4860:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF", "GOOGLE-IPV6",
                     "Google Inc.", "US"}},
        // An AS record runs to the reply's end; its number is written with its AS.
        SummaryCase{"Arin_As13335",
                    Registry::Arin,
                    true,
                    ReadReply("whois.arin.net/asn-13335_cloudflare_bare-AS-query.txt"),
                    "ASNumber:",
                    nullptr,
                    true,
                    {"AS13335", "CLOUDFLARENET", "Cloudflare, Inc.", "US"}},
        // RIPE NCC: without an organisation, the record's first descr; a route object's descr
        // after the record is never read.
        SummaryCase{"Ripe_128_79",
                    Registry::RipeNcc,
                    false,
                    ReadReply("whois.ripe.net/ipv4-128.79.x_bouygtel-isp-cable.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"128.79.0.0 - 128.79.63.0", "BOUYGTEL-ISP-CABLE",
                     "Pool for Broadband CABLE customers", "FR"}},
        SummaryCase{"Ripe_185_1_1_Organisation",
                    Registry::RipeNcc,
                    false,
                    ReadReply("whois.ripe.net/ipv4-185.1.1.x_pix-palestine-ix.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"185.1.1.0 - 185.1.1.255", "PIX", "Palestine Internet Exchange Point", "PS"}},
        SummaryCase{"Ripe_62_239",
                    Registry::RipeNcc,
                    false,
                    ReadReply("whois.ripe.net/ipv4-62.239.237.1_bt-corporate.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"62.239.237.0 - 62.239.237.255", "BT-CORPORATE", "UDC", "GB"}},
        SummaryCase{"Ripe_80_20_CollapsedBlanks",
                    Registry::RipeNcc,
                    false,
                    ReadReply("whois.ripe.net/ipv4-80.20.134.x_interbusiness_ws-collapsed.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"80.20.134.0 - 80.20.134.255", "INTERBUSINESS", "Telecom Italia SPA", "IT"}},
        SummaryCase{
            "Ripe_Ipv6",
            Registry::RipeNcc,
            false,
            ReadReply("whois.ripe.net/ipv6-2a00.2381.ffff..1_bt.txt"),
            "inet6num:",
            nullptr,
            true,
            {"2a00:2381:ffff::/64", "BT-WORLD-IPVSIX-LAUNCH", "BT World IPv6 Launch", "GB"}},
        SummaryCase{"Afrinic_OrganisationNamesTheHolder",
                    Registry::Afrinic,
                    false,
                    ReadReply("whois.afrinic.net/ipv4-196.11.240.215_mtn-za.txt"),
                    "inetnum:",
                    nullptr,
                    true,
                    {"196.11.239.0 - 196.11.246.255", "NET-196-11-239-0", "MTN SA", "ZA"}},
        // LACNIC: its own record keeps CR LF and ends before "% whois"; no network name.
        SummaryCase{"Lacnic_CrLfCommasInOwner",
                    Registry::Lacnic,
                    false,
                    ReadReply("whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt"),
                    "inetnum:",
                    "% whois",
                    false,
                    {"200.57.128/19", "", "Triara.com, S.A. de C.V.", "MX"}},
        SummaryCase{
            "Lacnic_LineFeedOnly",
            Registry::Lacnic,
            false,
            ReadReply("whois.lacnic.net/ipv4-200.68.34.56_cl-reallocated.txt"),
            "inetnum:",
            nullptr,
            true,
            {"200.68.34.56/29", "", "Agencia de Aduanas Patricio Sesnich Stewart y Comp", "CL"}},
        SummaryCase{"Lacnic_Ipv6",
                    Registry::Lacnic,
                    false,
                    ReadReply("whois.lacnic.net/ipv6-2801.10.c000.._co.txt"),
                    "inetnum:",
                    "% whois",
                    false,
                    {"2801:10:c000::/48", "", "Universidad Catolica de Oriente", "CO"}},
        SummaryCase{"Lacnic_As264957_NetworksAfterTheNumber",
                    Registry::Lacnic,
                    true,
                    ReadReply("whois.lacnic.net/asn-264957_registro-br_client-trailer.txt"),
                    "aut-num:",
                    nullptr,
                    true,
                    {"AS264957", "", "Coopercitrus Cooperativa de Produtores Rurais", "BR"}},
        // IANA's own records, shown when it refers to no registry.
        SummaryCase{"Iana_Ipv6Block",
                    Registry::Iana,
                    false,
                    ReadReply("whois.iana.org/ipv6-2601.646.c200.b466..1_arin-2600-12.txt"),
                    "inet6num:",
                    nullptr,
                    true,
                    {"2600:0:0:0:0:0:0:0/12", "", "ARIN", ""}},
        SummaryCase{"Iana_AsBlock",
                    Registry::Iana,
                    true,
                    ReadReply("whois.iana.org/asn-264957_lacnic-block_client-trailer.txt"),
                    "as-block:",
                    nullptr,
                    true,
                    {"264605-265628", "", "Assigned by LACNIC", ""}}),
    testing::CaseName<SummaryCase>);

INSTANTIATE_TEST_SUITE_P(
    Written, SummaryOfRecords,
    ::testing::Values(
        SummaryCase{"ArinCustomerInsteadOfOrganisation",
                    Registry::Arin,
                    false,
                    "NetRange:  10.0.0.0 - 10.0.0.255\nNetName:   CUST-NET\n\nCustName:  Example "
                    "Customer \nCountry:   CA\n",
                    "NetRange:",
                    nullptr,
                    true,
                    {"10.0.0.0 - 10.0.0.255", "CUST-NET", "Example Customer", "CA"}},
        SummaryCase{"ArinOlderLayoutOrganisationFirst",
                    Registry::Arin,
                    false,
                    "OrgName: Old Org\nOrgID: OLD\nCountry: US\nNetRange: 1.0.0.0 - 1.0.0.255\n"
                    "NetName: OLD-NET\n",
                    "OrgName:",
                    nullptr,
                    true,
                    {"1.0.0.0 - 1.0.0.255", "OLD-NET", "Old Org", "US"}},
        SummaryCase{"ArinEmptyOrgNameGivesWayToCustName",
                    Registry::Arin,
                    false,
                    "NetRange: r\nOrgName:   \nCustName: C\n",
                    "NetRange:",
                    nullptr,
                    true,
                    {"r", "", "C", ""}},
        SummaryCase{"ArinAsNumberLeadingZerosAndRanges",
                    Registry::Arin,
                    true,
                    "ASNumber:   0064512\nASName: PRIVATE\n",
                    "ASNumber:",
                    nullptr,
                    true,
                    {"AS64512", "PRIVATE", "", ""}},
        SummaryCase{"ArinAsBlockStaysAsWritten",
                    Registry::Arin,
                    true,
                    "ASNumber:   64512 - 65534\n",
                    "ASNumber:",
                    nullptr,
                    true,
                    {"64512 - 65534", "", "", ""}},
        SummaryCase{"RpslCountryFromTheOrganisation",
                    Registry::RipeNcc,
                    false,
                    "inetnum: 1.0.0.0 - 1.0.0.255\nnetname: N\norg: ORG-X\n\norganisation: "
                    "ORG-X\norg-name: X Ltd\ncountry: DE\n",
                    "inetnum:",
                    nullptr,
                    true,
                    {"1.0.0.0 - 1.0.0.255", "N", "X Ltd", "DE"}},
        SummaryCase{"RpslRouteObjectIsNotTheRecord",
                    Registry::Apnic,
                    false,
                    "inetnum: 1.0.0.0 - 1.0.0.255\nnetname: N\n\nroute: 1.0.0.0/24\ndescr: "
                    "Route\ncountry: ZZ\n",
                    "inetnum:",
                    nullptr,
                    true,
                    {"1.0.0.0 - 1.0.0.255", "N", "", ""}},
        SummaryCase{"RpslAutNum",
                    Registry::RipeNcc,
                    true,
                    "aut-num: AS3333\nas-name: RIPE-NCC-AS\norg: ORG-R\n\norganisation: "
                    "ORG-R\norg-name: Reseaux IP Europeens\ncountry: NL\n",
                    "aut-num:",
                    nullptr,
                    true,
                    {"AS3333", "RIPE-NCC-AS", "Reseaux IP Europeens", "NL"}},
        SummaryCase{"TwnicAdditionReadAsApnicRecord",
                    Registry::Apnic,
                    false,
                    "inetnum: 203.69.0.0 - 203.69.255.255\nnetname: HINET-TW\ndescr: APNIC "
                    "side\ncountry: TW\n\n"
                    "Netname: HINET-NET\nOrgName: Chunghwa\n",
                    "inetnum:",
                    nullptr,
                    true,
                    {"203.69.0.0 - 203.69.255.255", "HINET-TW", "APNIC side", "TW"}}),
    testing::CaseName<SummaryCase>);

TEST(SummaryTable, TwnicHasNoRowOfItsOwn) {
    EXPECT_EQ(SummaryAttributesFor(Registry::Twnic, false), nullptr);
    EXPECT_EQ(SummaryAttributesFor(Registry::Arin, true), &kArinAsSummary);
    EXPECT_EQ(SummaryAttributesFor(Registry::Arin, false), &kArinNetworkSummary);
}

// Replies that say a registry refuses to answer, and replies that only look alike.
struct RefusalCase {
    const char* name;
    const char* serverHost;
    std::string reply;
    bool refusal;
};

void PrintTo(const RefusalCase& refusalCase, std::ostream* out) {
    *out << refusalCase.name;
}

class Refusal : public ::testing::TestWithParam<RefusalCase> {};
TEST_P(Refusal, IsToldFromAnAnswer) {
    EXPECT_EQ(IsRefusalReply(GetParam().serverHost, GetParam().reply), GetParam().refusal);
}

const std::string kAccessDenied =
    "% This is the RIPE Database query service.\n%\n%ERROR:201: access denied for 192.0.2.1\n%\n"
    "% Sorry, access from your host has been permanently\n% denied because of a repeated "
    "excessive querying.\n";

INSTANTIATE_TEST_SUITE_P(
    Replies, Refusal,
    ::testing::Values(
        RefusalCase{"RipeAccessDenied", "whois.ripe.net", kAccessDenied, true},
        RefusalCase{"AfrinicAccessDenied", "WHOIS.AFRINIC.NET", "%ERROR:201: access denied\r\n",
                    true},
        RefusalCase{"ErrorNotAtLineStart", "whois.ripe.net", "remarks: %ERROR:201\n", false},
        RefusalCase{"OtherRipeErrors", "whois.ripe.net", "%ERROR:101: no entries found\n", false},
        RefusalCase{"Error201FromAnotherRegistry", "whois.arin.net", kAccessDenied, false},
        RefusalCase{"QueryRateLimitAnywhere", "whois.lacnic.net",
                    "\r\n% Query rate limit exceeded\r\n", true},
        RefusalCase{"QueryLimitInAnyCase", "whois.apnic.net", "% QUERY LIMIT EXCEEDED\n", true},
        RefusalCase{"LimitSaidByAnyServer", "whois.example.net", "Rate limit exceeded.", true},
        RefusalCase{"ARecord", "whois.ripe.net",
                    ReadReply("whois.ripe.net/ipv4-62.239.237.1_bt-corporate.txt"), false},
        RefusalCase{"EmptyReply", "whois.ripe.net", "", false}),
    testing::CaseName<RefusalCase>);

}  // namespace
}  // namespace quorvel
