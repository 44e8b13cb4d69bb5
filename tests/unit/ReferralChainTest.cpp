// The whole registry lookup over scripted servers: which registries are asked, with what, and
// the report that results, for captured real replies and written ones.
#include <gtest/gtest.h>

#include "CaseName.h"

#include "FakeSocketLibrary.h"
#include "Lookup.h"
#include "RecordingFeedback.h"
#include "TestData.h"

namespace quorvel {
namespace {

using testing::FakeSocketLibrary;
using testing::HeadBefore;
using testing::ReadReply;
using testing::TailFrom;
using testing::WithCrLf;

const std::string kApnic = "whois.apnic.net";
const std::string kTwnic = "whois.twnic.net.tw";
const std::string kArin = "whois.arin.net";
const std::string kRipe = "whois.ripe.net";
const std::string kLacnic = "whois.lacnic.net";
const std::string kAfrinic = "whois.afrinic.net";
const std::string kIana = "whois.iana.org";

const std::string kFailed = "Failed to query.";
const std::string kPrivate = "This is a private IP address.";
const std::string kLoopback = "This is a loopback address for this local computer.";
const std::string kServerNotResolved = "Failed to resolve server!";

std::string Written(const std::string& name) {
    return testing::ReadWritten(name);
}

// Captured replies.
const std::string kApnicLabs = ReadReply("whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt");
const std::string kArinGoogle = ReadReply("whois.arin.net/ipv4-74.125.225.229_google.txt");
const std::string kArinMatchList = ReadReply("whois.arin.net/ipv4-8.8.8.8_match-list.txt");
const std::string kArinErxRipe =
    ReadReply("whois.arin.net/ipv4-130.66.76.222_ripe-erx_orgid-RIPE.txt");
const std::string kArinErxApnic =
    ReadReply("whois.arin.net/ipv4-144.134.121.81_apnic-erx_orgid-APNIC.txt");
const std::string kRipeBt = ReadReply("whois.ripe.net/ipv4-62.239.237.1_bt-corporate.txt");
const std::string kRipeBouygtel = ReadReply("whois.ripe.net/ipv4-128.79.x_bouygtel-isp-cable.txt");
const std::string kLacnicTriara =
    ReadReply("whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt");
const std::string kLacnicReallocated =
    ReadReply("whois.lacnic.net/ipv4-200.68.34.56_cl-reallocated.txt");
const std::string kAfrinicMtn = ReadReply("whois.afrinic.net/ipv4-196.11.240.215_mtn-za.txt");
const std::string kArinGoogle6 = ReadReply("whois.arin.net/ipv6-2001.4860.4860..8888_google.txt");
const std::string kRipeBt6 = ReadReply("whois.ripe.net/ipv6-2a00.2381.ffff..1_bt.txt");
const std::string kLacnicCo6 = ReadReply("whois.lacnic.net/ipv6-2801.10.c000.._co.txt");
const std::string kIanaWhoisOnly =
    ReadReply("whois.iana.org/ipv6-2601.646.c200.b466..1_arin-2600-12.txt");
// The capturing client added a line feed before these two replies and its timing after them.
std::string WithoutClientAdditions(const std::string& captured) {
    return HeadBefore(captured.substr(1), "% Query time:");
}
const std::string kArinAs13335 = ReadReply("whois.arin.net/asn-13335_cloudflare_bare-AS-query.txt");
const std::string kIanaAsToLacnic =
    WithoutClientAdditions(ReadReply("whois.iana.org/asn-264957_lacnic-block_client-trailer.txt"));
const std::string kLacnicAs264957 =
    WithoutClientAdditions(ReadReply("whois.lacnic.net/asn-264957_registro-br_client-trailer.txt"));
// Written replies.
const std::string kApnicHinetTw = Written("whois.apnic.net/hinet-tw_203.69.x.txt");
const std::string kTwnicHinet = Written("whois.twnic.net.tw/hinet_203.69.x.txt");
const std::string kApnicIana = Written("whois.apnic.net/iana-block_placeholder.txt");
const std::string kApnicErx = Written("whois.apnic.net/elsewhere_erx-netblock-130.txt");
const std::string kApnicRipeBlock = Written("whois.apnic.net/elsewhere_ripe-cidr-block-62.txt");
const std::string kApnicLacnicBlock =
    Written("whois.apnic.net/elsewhere_lacnic-cidr-block-200.txt");
const std::string kApnicCrLfTw = Written("whois.apnic.net/crlf-tw_61.56.x.txt");
const std::string kArinOwn = Written("whois.arin.net/old-layout_google_74.125.x.txt");
const std::string kArinOrgRipe = Written("whois.arin.net/old-layout_orgid-ripe_128.79.x.txt");
const std::string kArinOrgLacnic = Written("whois.arin.net/old-layout_orgid-lacnic_200.x.txt");
const std::string kArinOrgApnic = Written("whois.arin.net/old-layout_orgid-apnic_144.x.txt");
const std::string kArinLetterList = Written("whois.arin.net/old-layout_match-list_8.8.8.8.txt");
const std::string kArinNoMatch = Written("whois.arin.net/old-layout_no-match-found.txt");
const std::string kRipeIanaBlk = Written("whois.ripe.net/iana-blk_200.x.txt");
const std::string kLacnicNoOwner = Written("whois.lacnic.net/without-owner_200.57.x_crlf.txt");
const std::string kArinTodayAfrinic = Written("whois.arin.net/today_orgid-afrinic_196.x.txt");
const std::string kArinOrgAfrinic = Written("whois.arin.net/old-layout_orgid-afrinic_196.x.txt");
const std::string kRipeNonManaged = Written("whois.ripe.net/non-ripe-ncc-managed_196.x.txt");
const std::string kAfrinicIanaBlock = Written("whois.afrinic.net/iana-placeholder_41.x.txt");
const std::string kAfrinicMtn6 = Written("whois.afrinic.net/mtn-za_2c0f.fb50..-32.txt");
const std::string kApnic6 = Written("whois.apnic.net/ipv6_2400.cb00..-32.txt");
const std::string kIanaToArin = Written("whois.iana.org/refer-arin_2001.4800..-23.txt");
const std::string kIanaToRipe = Written("whois.iana.org/refer-ripe_2a00..-12.txt");
const std::string kIanaToLacnic = Written("whois.iana.org/refer-lacnic_2800..-12.txt");
const std::string kIanaToAfrinic = Written("whois.iana.org/refer-afrinic_2c00..-12.txt");
const std::string kIanaToApnic = Written("whois.iana.org/refer-apnic_2400..-12.txt");
const std::string kIanaOwn = Written("whois.iana.org/no-referral_2001.db8..-32.txt");
const std::string kIanaAsToArin = Written("whois.iana.org/as-refer-arin_13312-15359.txt");
const std::string kIanaAsToRipe = Written("whois.iana.org/as-refer-ripe_3154-3353.txt");
const std::string kIanaAsToApnic = Written("whois.iana.org/as-refer-apnic_4608-4865.txt");
const std::string kIanaAsToAfrinic = Written("whois.iana.org/as-refer-afrinic_36864-37887.txt");
const std::string kIanaAsOwn = Written("whois.iana.org/as-private-use_64512-65534.txt");
const std::string kRipeAs3333 = Written("whois.ripe.net/aut-num_as3333.txt");
const std::string kRipeAsNone = Written("whois.ripe.net/no-entries_as3333_error-101.txt");
const std::string kApnicAs4608 = Written("whois.apnic.net/aut-num_as4608.txt");
const std::string kAfrinicAs36864 = Written("whois.afrinic.net/aut-num_as36864.txt");

std::string ApnicRecord(const std::string& reply) {
    return TailFrom(reply, "inetnum:");
}
// An IPv6 record, from its inet6num line to the reply's end, as the record ending shows it.
std::string Inet6numRecord(const std::string& reply) {
    return WithCrLf(TailFrom(reply, "inet6num:"));
}
// IANA's reply with `lines` in place of its referral.
std::string IanaReferral(const std::string& lines) {
    return "% IANA WHOIS server\n\n" + lines + "\ninet6num:     2001:4800:0:0:0:0:0:0/23\n" +
           "organisation: ARIN\nstatus:       ALLOCATED\n";
}
const std::string kIanaReferralRecord = WithCrLf(
    "inet6num:     2001:4800:0:0:0:0:0:0/23\norganisation: ARIN\nstatus:       ALLOCATED\n");
// IANA's reply about an AS number with `lines` in place of its referral.
std::string IanaAsReferral(const std::string& lines) {
    return "% IANA WHOIS server\n\n" + lines + "\nas-block:     13312-15359\n" +
           "organisation: Assigned by ARIN\n";
}
const std::string kIanaAsReferralRecord =
    WithCrLf("as-block:     13312-15359\norganisation: Assigned by ARIN\n");
// An AS record: from the line that names the AS number to the reply's end, with CR LF.
std::string AsRecord(const std::string& reply, const std::string& recordStart) {
    return WithCrLf(TailFrom(reply, recordStart));
}
std::string ArinRecord(const std::string& reply) {
    return WithCrLf(HeadBefore(TailFrom(reply, "OrgName:"), "# ARIN WHOIS"));
}

// A reply in ARIN's current layout: the terms-of-use comment block before and after the body.
std::string ArinToday(const std::string& body) {
    const std::string terms =
        "#\n# ARIN WHOIS data and services are subject to the Terms of Use\n#\n";
    return "\n" + terms + "\n" + body + "\n\n" + terms;
}
// ARIN's record in the current layout: from the last NetRange line to ARIN's closing block.
std::string ArinTodayRecord(const std::string& reply) {
    return HeadBefore(reply.substr(reply.rfind("\nNetRange:") + 1), "#\n# ARIN WHOIS");
}

struct Reply {
    std::string host;
    std::string query;
    std::string bytes;
};

struct Request {
    std::string host;
    std::string query;
};

struct ChainCase {
    const char* name;
    std::string address;
    std::vector<Reply> replies;
    std::vector<Request> expectedRequests;
    std::string expectedReport;
    int expectedResult;
    std::vector<std::string> unresolvable = {};  // registries whose names do not resolve
    std::vector<std::string> refusing = {};      // registries that refuse connections
    std::vector<std::string> expectedMessages = {};
};

void PrintTo(const ChainCase& chainCase, std::ostream* out) {
    *out << chainCase.name;
}

// Scripted registry servers: each one known unless `unresolvable`, failing to connect when
// `refusing`, and answering the queries of `replies`.
void ServeChain(FakeSocketLibrary& sockets, const std::vector<Reply>& replies,
                const std::vector<std::string>& unresolvable = {},
                const std::vector<std::string>& refusing = {}) {
    for (const std::string& host : {kApnic, kTwnic, kArin, kRipe, kLacnic, kAfrinic, kIana}) {
        if (std::find(unresolvable.begin(), unresolvable.end(), host) == unresolvable.end()) {
            sockets.AddServer(host);
        }
    }
    for (const std::string& host : refusing) {
        sockets.SetFailure(host, FakeSocketLibrary::Failure::Connect, 10061);
    }
    for (const Reply& reply : replies) {
        sockets.SetReply(reply.host, reply.query, reply.bytes);
    }
}

// The lookup a row's text names: an AS number's, a prefix's, or else the address lookup of the
// text as it is.
LookupAnswer LookUp(CWhoisClient& client, const std::string& text) {
    if (const std::optional<std::uint32_t> asNumber = ParseAsNumber(text)) {
        return LookupAsNumber(client, *asNumber);
    }
    if (const std::optional<Prefix> prefix = ParsePrefix(text)) {
        return LookupPrefix(client, *prefix);
    }
    return LookupAddress(client, text);
}

class ReferralChain : public ::testing::TestWithParam<ChainCase> {};

TEST_P(ReferralChain, AsksTheRightRegistriesAndReportsTheRecord) {
    const ChainCase& c = GetParam();
    FakeSocketLibrary sockets;
    ServeChain(sockets, c.replies, c.unresolvable, c.refusing);
    testing::RecordingFeedback feedback;
    CWhoisClient client(sockets, feedback);

    const LookupAnswer answer = LookUp(client, c.address);
    const std::string& report = answer.report;
    const int result = answer.Found();

    std::vector<FakeSocketLibrary::Request> expectedRequests;
    for (const Request& request : c.expectedRequests) {
        expectedRequests.push_back({request.host, request.query + " \r\n"});
    }
    EXPECT_EQ(sockets.Requests(), expectedRequests);
    EXPECT_EQ(report, c.expectedReport);
    EXPECT_EQ(result, c.expectedResult);
    EXPECT_EQ(feedback.messages, c.expectedMessages);
    EXPECT_EQ(sockets.OpenSockets(), 0) << "every socket is closed";
}

INSTANTIATE_TEST_SUITE_P(
    OfflineAnswers, ReferralChain,
    ::testing::Values(ChainCase{"Private192", "192.168.0.1", {}, {}, kPrivate, 0},
                      ChainCase{"Private10", "10.0.0.8", {}, {}, kPrivate, 0},
                      ChainCase{"Loopback", "127.0.0.1", {}, {}, kLoopback, 0},
                      ChainCase{"LoopbackByLeadingTextAlone", "127.anything", {}, {}, kLoopback, 0},
                      ChainCase{"OneHundredIsNotTen",
                                "100.1.2.3",
                                {{kApnic, "100.1.2.3", kApnicLabs}},
                                {{kApnic, "100.1.2.3"}},
                                WithCrLf(ApnicRecord(kApnicLabs)),
                                1},
                      ChainCase{"Private172IsAskedAbout",
                                "172.16.0.1",
                                {{kApnic, "172.16.0.1", kApnicLabs}},
                                {{kApnic, "172.16.0.1"}},
                                WithCrLf(ApnicRecord(kApnicLabs)),
                                1}),
    testing::CaseName<ChainCase>);

INSTANTIATE_TEST_SUITE_P(
    ApnicAndTwnic, ReferralChain,
    ::testing::Values(
        ChainCase{"ApnicRecord",
                  "1.1.1.1",
                  {{kApnic, "1.1.1.1", kApnicLabs}},
                  {{kApnic, "1.1.1.1"}},
                  WithCrLf(ApnicRecord(kApnicLabs)),
                  1},
        ChainCase{"TwnicAddsToTheApnicRecord",
                  "203.66.1.1",
                  {{kApnic, "203.66.1.1", kApnicHinetTw}, {kTwnic, "203.66.1.1", kTwnicHinet}},
                  {{kApnic, "203.66.1.1"}, {kTwnic, "203.66.1.1"}},
                  WithCrLf(ApnicRecord(kApnicHinetTw) + kTwnicHinet),
                  1},
        ChainCase{"BandIsComparedAsText",
                  "21.0.0.1",
                  {{kApnic, "21.0.0.1", kApnicHinetTw}, {kTwnic, "21.0.0.1", kTwnicHinet}},
                  {{kApnic, "21.0.0.1"}, {kTwnic, "21.0.0.1"}},
                  WithCrLf(ApnicRecord(kApnicHinetTw) + kTwnicHinet),
                  1},
        ChainCase{"SecondBandUpperBound",
                  "64.1.1.1",
                  {{kApnic, "64.1.1.1", kApnicHinetTw}, {kTwnic, "64.1.1.1", kTwnicHinet}},
                  {{kApnic, "64.1.1.1"}, {kTwnic, "64.1.1.1"}},
                  WithCrLf(ApnicRecord(kApnicHinetTw) + kTwnicHinet),
                  1},
        ChainCase{"OutsideTheBandsNoTwnic",
                  "212.1.1.1",
                  {{kApnic, "212.1.1.1", kApnicHinetTw}},
                  {{kApnic, "212.1.1.1"}},
                  WithCrLf(ApnicRecord(kApnicHinetTw)),
                  1},
        ChainCase{"CarriageReturnSpoilsTheTwTest",
                  "61.56.1.1",
                  {{kApnic, "61.56.1.1", kApnicCrLfTw}},
                  {{kApnic, "61.56.1.1"}},
                  WithCrLf(ApnicRecord(kApnicCrLfTw)),
                  1},
        ChainCase{"TwnicNotResolvedStillShowsApnic",
                  "203.66.1.1",
                  {{kApnic, "203.66.1.1", kApnicHinetTw}},
                  {{kApnic, "203.66.1.1"}},
                  WithCrLf(ApnicRecord(kApnicHinetTw)),
                  1,
                  {kTwnic},
                  {},
                  {kServerNotResolved}},
        ChainCase{"TwnicFailureOnlyAddsNothing",
                  "203.66.1.1",
                  {{kApnic, "203.66.1.1", kApnicHinetTw}},
                  {{kApnic, "203.66.1.1"}},
                  WithCrLf(ApnicRecord(kApnicHinetTw)),
                  1,
                  {},
                  {kTwnic}},
        ChainCase{
            "ApnicNotResolved", "1.1.1.1", {}, {}, kFailed, 0, {kApnic}, {}, {kServerNotResolved}},
        ChainCase{"ApnicRefuses", "1.1.1.1", {}, {}, kFailed, 0, {}, {kApnic}},
        ChainCase{"ApnicReplyReadingFailedIsAFailure",
                  "1.1.1.1",
                  {{kApnic, "1.1.1.1", "FAILED to find anything\n"}},
                  {{kApnic, "1.1.1.1"}},
                  kFailed,
                  0}),
    testing::CaseName<ChainCase>);

INSTANTIATE_TEST_SUITE_P(
    Arin, ReferralChain,
    ::testing::Values(
        ChainCase{"ForcedFor168_95",
                  "168.95.1.1",
                  {{kApnic, "168.95.1.1", kApnicLabs}, {kArin, "168.95.1.1", kArinOwn}},
                  {{kApnic, "168.95.1.1"}, {kArin, "168.95.1.1"}},
                  ArinRecord(kArinOwn),
                  1},
        ChainCase{
            "ArinCidrBlock",
            "168.1.1.1",
            {{kApnic, "168.1.1.1", Written("whois.apnic.net/elsewhere_arin-cidr-block-168.txt")},
             {kArin, "168.1.1.1", kArinOwn}},
            {{kApnic, "168.1.1.1"}, {kArin, "168.1.1.1"}},
            ArinRecord(kArinOwn),
            1},
        ChainCase{"LetterFirstMatchListAsksForTheFirstHandle",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8", kArinLetterList},
                   {kArin, "NET-8-0-0-0-1", kArinOwn}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}, {kArin, "NET-8-0-0-0-1"}},
                  ArinRecord(kArinOwn),
                  1},
        ChainCase{"LetterFirstWithoutParenthesesAsksNothingMore",
                  "74.1.2.3",
                  {{kApnic, "74.1.2.3", kApnicIana},
                   {kArin, "74.1.2.3", "Example Cable Inc. EXCA-74 NET-74-0-0-0-1 (open\n"}},
                  {{kApnic, "74.1.2.3"}, {kArin, "74.1.2.3"}},
                  WithCrLf(ApnicRecord(kApnicIana)),
                  1},
        ChainCase{"LongHandleIsCutTo51",
                  "74.1.2.3",
                  {{kApnic, "74.1.2.3", kApnicIana},
                   {kArin, "74.1.2.3", "Org (" + std::string(60, 'H') + ")\n"},
                   {kArin, std::string(51, 'H'), kArinOwn}},
                  {{kApnic, "74.1.2.3"}, {kArin, "74.1.2.3"}, {kArin, std::string(51, 'H')}},
                  ArinRecord(kArinOwn),
                  1},
        ChainCase{"HandleWithALineEndIsNeverSent",
                  "74.1.2.3",
                  {{kApnic, "74.1.2.3", kApnicIana},
                   {kArin, "74.1.2.3", "Org (NET-1\r\nwhois.example other)\n"}},
                  {{kApnic, "74.1.2.3"}, {kArin, "74.1.2.3"}},
                  kFailed,
                  0},
        ChainCase{"OrgIdRipeHandsOverToRipe",
                  "62.239.237.1",
                  {{kApnic, "62.239.237.1", kApnicErx},
                   {kArin, "62.239.237.1", kArinOrgRipe},
                   {kRipe, "62.239.237.1", kRipeBt}},
                  {{kApnic, "62.239.237.1"}, {kArin, "62.239.237.1"}, {kRipe, "62.239.237.1"}},
                  WithCrLf(ApnicRecord(kRipeBt)),
                  1},
        ChainCase{
            "OrgIdLacnicHandsOverToLacnic",
            "200.57.141.161",
            {{kApnic, "200.57.141.161", kApnicErx},
             {kArin, "200.57.141.161", kArinOrgLacnic},
             {kLacnic, "200.57.141.161", kLacnicTriara}},
            {{kApnic, "200.57.141.161"}, {kArin, "200.57.141.161"}, {kLacnic, "200.57.141.161"}},
            HeadBefore(TailFrom(kLacnicTriara, "inetnum:"), "% whois"),
            1},
        ChainCase{"OrgIdApnicEndsTheLookup",
                  "144.134.121.81",
                  {{kApnic, "144.134.121.81", kApnicErx}, {kArin, "144.134.121.81", kArinOrgApnic}},
                  {{kApnic, "144.134.121.81"}, {kArin, "144.134.121.81"}},
                  kFailed,
                  0},
        ChainCase{"NoMatchFoundGoesToRipe",
                  "62.1.2.3",
                  {{kApnic, "62.1.2.3", kApnicIana},
                   {kArin, "62.1.2.3", kArinNoMatch},
                   {kRipe, "62.1.2.3", kRipeBt}},
                  {{kApnic, "62.1.2.3"}, {kArin, "62.1.2.3"}, {kRipe, "62.1.2.3"}},
                  WithCrLf(ApnicRecord(kRipeBt)),
                  1},
        ChainCase{"NoMatchFoundLaterInTheReplyIsNotAHandOver",
                  "74.1.2.3",
                  {{kApnic, "74.1.2.3", kApnicIana},
                   {kArin, "74.1.2.3", "\nNo match found\n" + kArinOwn}},
                  {{kApnic, "74.1.2.3"}, {kArin, "74.1.2.3"}},
                  ArinRecord(kArinOwn),
                  1},
        ChainCase{"ArinRefuses",
                  "74.1.2.3",
                  {{kApnic, "74.1.2.3", kApnicIana}},
                  {{kApnic, "74.1.2.3"}},
                  kFailed,
                  0,
                  {},
                  {kArin}},
        ChainCase{"ArinNotResolved",
                  "74.1.2.3",
                  {{kApnic, "74.1.2.3", kApnicIana}},
                  {{kApnic, "74.1.2.3"}},
                  kFailed,
                  0,
                  {kArin},
                  {},
                  {kServerNotResolved}}),
    testing::CaseName<ChainCase>);

// ARIN's current layout: comments first, the organisation after the network, read by name.
INSTANTIATE_TEST_SUITE_P(
    ArinToday, ReferralChain,
    ::testing::Values(
        ChainCase{"OwnRecordUpToTheClosingComments",
                  "74.125.225.229",
                  {{kApnic, "74.125.225.229", kApnicIana}, {kArin, "74.125.225.229", kArinGoogle}},
                  {{kApnic, "74.125.225.229"}, {kArin, "74.125.225.229"}},
                  WithCrLf(ArinTodayRecord(kArinGoogle)),
                  1},
        ChainCase{"MatchListAsksForTheLastHandle",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8", kArinMatchList},
                   {kArin, "NET-8-8-8-0-1", kArinGoogle}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}, {kArin, "NET-8-8-8-0-1"}},
                  WithCrLf(ArinTodayRecord(kArinGoogle)),
                  1},
        ChainCase{"OfThreeEntriesTheThirdIsAsked",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8",
                    ArinToday("Big Net BIG-8 (NET-8-0-0-0-1) 8.0.0.0 - 8.255.255.255\n"
                              "Mid Net MID-8-8 (NET-8-8-0-0-1) 8.8.0.0 - 8.8.255.255\n"
                              "Small Net SMALL-8-8-8 (NET-8-8-8-0-1) 8.8.8.0 - 8.8.8.255\n"
                              "\nAfter the list (NET-9-0-0-0-1)\n")},
                   {kArin, "NET-8-8-8-0-1", kArinGoogle}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}, {kArin, "NET-8-8-8-0-1"}},
                  WithCrLf(ArinTodayRecord(kArinGoogle)),
                  1},
        ChainCase{"HandlesReplyInTheOlderLayoutKeepsItsRules",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8", kArinMatchList},
                   {kArin, "NET-8-8-8-0-1", kArinOwn}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}, {kArin, "NET-8-8-8-0-1"}},
                  ArinRecord(kArinOwn),
                  1},
        ChainCase{"ListAnsweringTheHandleIsNotFollowed",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8", kArinMatchList},
                   {kArin, "NET-8-8-8-0-1", kArinMatchList}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}, {kArin, "NET-8-8-8-0-1"}},
                  kFailed,
                  0},
        ChainCase{"HandleQueryFailing",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8", kArinMatchList},
                   {kArin, "NET-8-8-8-0-1", "FAILED - recv() failed: 104.\n"}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}, {kArin, "NET-8-8-8-0-1"}},
                  kFailed,
                  0},
        // The record ending turns each CR LF into CR CR LF, as it does for LACNIC's records.
        ChainCase{"CrLfReply",
                  "74.125.225.229",
                  {{kApnic, "74.125.225.229", kApnicIana},
                   {kArin, "74.125.225.229", WithCrLf(kArinGoogle)}},
                  {{kApnic, "74.125.225.229"}, {kArin, "74.125.225.229"}},
                  WithCrLf(WithCrLf(ArinTodayRecord(kArinGoogle))),
                  1},
        ChainCase{"CrLfOrgIdRipeHandsOverToRipe",
                  "130.66.76.222",
                  {{kApnic, "130.66.76.222", kApnicErx},
                   {kArin, "130.66.76.222", WithCrLf(kArinErxRipe)},
                   {kRipe, "130.66.76.222", kRipeBouygtel}},
                  {{kApnic, "130.66.76.222"}, {kArin, "130.66.76.222"}, {kRipe, "130.66.76.222"}},
                  WithCrLf(ApnicRecord(kRipeBouygtel)),
                  1},
        ChainCase{"OrgIdRipeHandsOverToRipe",
                  "130.66.76.222",
                  {{kApnic, "130.66.76.222", kApnicErx},
                   {kArin, "130.66.76.222", kArinErxRipe},
                   {kRipe, "130.66.76.222", kRipeBouygtel}},
                  {{kApnic, "130.66.76.222"}, {kArin, "130.66.76.222"}, {kRipe, "130.66.76.222"}},
                  WithCrLf(ApnicRecord(kRipeBouygtel)),
                  1},
        ChainCase{
            "OlderOrgIdSpellingHandsOverToLacnic",
            "200.57.141.161",
            {{kApnic, "200.57.141.161", kApnicErx},
             {kArin, "200.57.141.161",
              ArinToday("NetRange:       200.0.0.0 - 200.255.255.255\n"
                        "OrgName:        Latin American and Caribbean IP address Regional "
                        "Registry\nOrgID:          LACNIC\n")},
             {kLacnic, "200.57.141.161", kLacnicTriara}},
            {{kApnic, "200.57.141.161"}, {kArin, "200.57.141.161"}, {kLacnic, "200.57.141.161"}},
            HeadBefore(TailFrom(kLacnicTriara, "inetnum:"), "% whois"),
            1},
        ChainCase{"OrgIdApnicEndsTheLookup",
                  "144.134.121.81",
                  {{kApnic, "144.134.121.81", kApnicErx}, {kArin, "144.134.121.81", kArinErxApnic}},
                  {{kApnic, "144.134.121.81"}, {kArin, "144.134.121.81"}},
                  kFailed,
                  0},
        // A customer's network names no organisation of its own: ARIN's record is shown.
        ChainCase{"OrgIdOnlyBeforeTheLastNetRange",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8",
                    ArinToday("NetRange:       8.0.0.0 - 8.255.255.255\nOrgId:          RIPE\n\n"
                              "NetRange:       8.8.8.0 - 8.8.8.255\nCustName:       Someone\n")}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}},
                  WithCrLf("NetRange:       8.8.8.0 - 8.8.8.255\nCustName:       Someone\n\n\n"),
                  1},
        ChainCase{"NetRangeInsideALineIsNoRecordStart",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8",
                    ArinToday("NetRange:       8.0.0.0 - 8.255.255.255\n"
                              "Comment:        NetRange: 9.0.0.0\nOrgId:          GOGL\n")}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}},
                  WithCrLf("NetRange:       8.0.0.0 - 8.255.255.255\nComment:        NetRange: "
                           "9.0.0.0\nOrgId:          GOGL\n\n\n"),
                  1},
        ChainCase{"WithoutANetRangeLineFails",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8", ArinToday("Comment: NetRange: 8.0.0.0\nOrgId: GOGL\n")}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}},
                  kFailed,
                  0},
        ChainCase{"CommentsOnlyFail",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana}, {kArin, "8.8.8.8", ArinToday("")}},
                  {{kApnic, "8.8.8.8"}, {kArin, "8.8.8.8"}},
                  kFailed,
                  0},
        ChainCase{"NoMatchFoundGoesToRipe",
                  "62.1.2.3",
                  {{kApnic, "62.1.2.3", kApnicIana},
                   {kArin, "62.1.2.3", ArinToday("No match found for 62.1.2.3.\n")},
                   {kRipe, "62.1.2.3", kRipeBt}},
                  {{kApnic, "62.1.2.3"}, {kArin, "62.1.2.3"}, {kRipe, "62.1.2.3"}},
                  WithCrLf(ApnicRecord(kRipeBt)),
                  1}),
    testing::CaseName<ChainCase>);

INSTANTIATE_TEST_SUITE_P(
    RipeAndLacnic, ReferralChain,
    ::testing::Values(
        ChainCase{"RipeCidrBlock",
                  "128.79.1.1",
                  {{kApnic, "128.79.1.1", kApnicRipeBlock}, {kRipe, "128.79.1.1", kRipeBouygtel}},
                  {{kApnic, "128.79.1.1"}, {kRipe, "128.79.1.1"}},
                  WithCrLf(ApnicRecord(kRipeBouygtel)),
                  1},
        ChainCase{"RipeIanaBlkGoesToLacnicWithoutOwner",
                  "200.160.1.1",
                  {{kApnic, "200.160.1.1", kApnicRipeBlock},
                   {kRipe, "200.160.1.1", kRipeIanaBlk},
                   {kLacnic, "200.160.1.1", kLacnicNoOwner}},
                  {{kApnic, "200.160.1.1"}, {kRipe, "200.160.1.1"}, {kLacnic, "200.160.1.1"}},
                  // Without an owner the record ending adds a CR before each LF: CR CR LF.
                  WithCrLf(TailFrom(kLacnicNoOwner, "inetnum:")),
                  1},
        ChainCase{"RipeOtherIanaNameFails",
                  "62.1.1.1",
                  {{kApnic, "62.1.1.1", kApnicRipeBlock},
                   {kRipe, "62.1.1.1", "inetnum: 62.0.0.0\nnetname: IANA-NETBLOCK\nadmin-c: X\n"}},
                  {{kApnic, "62.1.1.1"}, {kRipe, "62.1.1.1"}},
                  kFailed,
                  0},
        ChainCase{"LacnicWithOwnerKeepsItsLineEnds",
                  "200.57.141.161",
                  {{kApnic, "200.57.141.161", kApnicLacnicBlock},
                   {kLacnic, "200.57.141.161", kLacnicTriara}},
                  {{kApnic, "200.57.141.161"}, {kLacnic, "200.57.141.161"}},
                  HeadBefore(TailFrom(kLacnicTriara, "inetnum:"), "% whois"),
                  1},
        ChainCase{"LacnicLineFeedReplyHasNoOwner",
                  "200.68.34.56",
                  {{kApnic, "200.68.34.56", kApnicLacnicBlock},
                   {kLacnic, "200.68.34.56", kLacnicReallocated}},
                  {{kApnic, "200.68.34.56"}, {kLacnic, "200.68.34.56"}},
                  WithCrLf(TailFrom(kLacnicReallocated, "inetnum:")),
                  1},
        ChainCase{"LacnicWithoutRecordKeepsTheEarlierOne",
                  "200.1.1.1",
                  {{kApnic, "200.1.1.1", kApnicRipeBlock},
                   {kRipe, "200.1.1.1", kRipeIanaBlk},
                   {kLacnic, "200.1.1.1", "% no such block\r\n"}},
                  {{kApnic, "200.1.1.1"}, {kRipe, "200.1.1.1"}, {kLacnic, "200.1.1.1"}},
                  WithCrLf(TailFrom(kRipeIanaBlk, "inetnum:")),
                  1},
        ChainCase{"LacnicRefuses",
                  "200.1.1.1",
                  {{kApnic, "200.1.1.1", kApnicLacnicBlock}},
                  {{kApnic, "200.1.1.1"}},
                  kFailed,
                  0,
                  {},
                  {kLacnic}}),
    testing::CaseName<ChainCase>);

// AFRINIC, named by ARIN's organisation; RIPE NCC's current name for space it does not hold.
INSTANTIATE_TEST_SUITE_P(
    Afrinic, ReferralChain,
    ::testing::Values(
        ChainCase{
            "ArinTodayNamesAfrinic",
            "196.11.240.215",
            {{kApnic, "196.11.240.215", kApnicIana},
             {kArin, "196.11.240.215", kArinTodayAfrinic},
             {kAfrinic, "196.11.240.215", kAfrinicMtn}},
            {{kApnic, "196.11.240.215"}, {kArin, "196.11.240.215"}, {kAfrinic, "196.11.240.215"}},
            WithCrLf(TailFrom(kAfrinicMtn, "inetnum:")),
            1},
        ChainCase{
            "OlderArinLayoutNamesAfrinic",
            "196.11.240.215",
            {{kApnic, "196.11.240.215", kApnicErx},
             {kArin, "196.11.240.215", kArinOrgAfrinic},
             {kAfrinic, "196.11.240.215", kAfrinicMtn}},
            {{kApnic, "196.11.240.215"}, {kArin, "196.11.240.215"}, {kAfrinic, "196.11.240.215"}},
            WithCrLf(TailFrom(kAfrinicMtn, "inetnum:")),
            1},
        // The record ending turns each CR LF into CR CR LF; the "IANA" test reads four characters.
        ChainCase{
            "CrLfRecord",
            "196.11.240.215",
            {{kApnic, "196.11.240.215", kApnicIana},
             {kArin, "196.11.240.215", kArinTodayAfrinic},
             {kAfrinic, "196.11.240.215", WithCrLf(kAfrinicMtn)}},
            {{kApnic, "196.11.240.215"}, {kArin, "196.11.240.215"}, {kAfrinic, "196.11.240.215"}},
            WithCrLf(WithCrLf(TailFrom(kAfrinicMtn, "inetnum:"))),
            1},
        ChainCase{"IanaPlaceholderFails",
                  "41.1.1.1",
                  {{kApnic, "41.1.1.1", kApnicIana},
                   {kArin, "41.1.1.1", kArinTodayAfrinic},
                   {kAfrinic, "41.1.1.1", WithCrLf(kAfrinicIanaBlock)}},
                  {{kApnic, "41.1.1.1"}, {kArin, "41.1.1.1"}, {kAfrinic, "41.1.1.1"}},
                  kFailed,
                  0},
        ChainCase{"OnlyTheNetNameAfterTheRecordStartCounts",
                  "41.1.1.1",
                  {{kApnic, "41.1.1.1", kApnicIana},
                   {kArin, "41.1.1.1", kArinTodayAfrinic},
                   {kAfrinic, "41.1.1.1",
                    "netname: IANA-BLOCK\ninet6num: 41::\n netname: IANA-X\nnetname:\tNET-41\n"}},
                  {{kApnic, "41.1.1.1"}, {kArin, "41.1.1.1"}, {kAfrinic, "41.1.1.1"}},
                  WithCrLf("inet6num: 41::\n netname: IANA-X\nnetname:\tNET-41\n"),
                  1},
        ChainCase{"WithoutRecordStartFails",
                  "41.1.1.1",
                  {{kApnic, "41.1.1.1", kApnicIana},
                   {kArin, "41.1.1.1", kArinTodayAfrinic},
                   {kAfrinic, "41.1.1.1", "% No entries found\n inetnum: 41.0.0.0\n"}},
                  {{kApnic, "41.1.1.1"}, {kArin, "41.1.1.1"}, {kAfrinic, "41.1.1.1"}},
                  kFailed,
                  0},
        ChainCase{"AfrinicReplyFailed",
                  "41.1.1.1",
                  {{kApnic, "41.1.1.1", kApnicIana},
                   {kArin, "41.1.1.1", kArinTodayAfrinic},
                   {kAfrinic, "41.1.1.1", "FAILED\ninetnum: 41.0.0.0\n"}},
                  {{kApnic, "41.1.1.1"}, {kArin, "41.1.1.1"}, {kAfrinic, "41.1.1.1"}},
                  kFailed,
                  0},
        ChainCase{"AfrinicNotResolved",
                  "41.1.1.1",
                  {{kApnic, "41.1.1.1", kApnicIana}, {kArin, "41.1.1.1", kArinTodayAfrinic}},
                  {{kApnic, "41.1.1.1"}, {kArin, "41.1.1.1"}},
                  kFailed,
                  0,
                  {kAfrinic},
                  {},
                  {kServerNotResolved}},
        ChainCase{"RipeNonManagedBlockGoesToLacnic",
                  "200.160.1.1",
                  {{kApnic, "200.160.1.1", kApnicRipeBlock},
                   {kRipe, "200.160.1.1", kRipeNonManaged},
                   {kLacnic, "200.160.1.1", kLacnicTriara}},
                  {{kApnic, "200.160.1.1"}, {kRipe, "200.160.1.1"}, {kLacnic, "200.160.1.1"}},
                  HeadBefore(TailFrom(kLacnicTriara, "inetnum:"), "% whois"),
                  1},
        // Captured from a CR LF reply the name ends in CR, as "IANA-BLK" does: no placeholder.
        ChainCase{"RipeNonManagedBlockWithCrIsShown",
                  "200.160.1.1",
                  {{kApnic, "200.160.1.1", kApnicRipeBlock},
                   {kRipe, "200.160.1.1", WithCrLf(kRipeNonManaged)}},
                  {{kApnic, "200.160.1.1"}, {kRipe, "200.160.1.1"}},
                  WithCrLf(WithCrLf(TailFrom(kRipeNonManaged, "inetnum:"))),
                  1}),
    testing::CaseName<ChainCase>);

// IPv6: IANA first, then the registry its referral names, asked with the canonical text.
INSTANTIATE_TEST_SUITE_P(
    Ipv6, ReferralChain,
    ::testing::Values(
        ChainCase{"Loopback", "::1", {}, {}, kLoopback, 0},
        ChainCase{"LinkLocal", "fe80::1", {}, {}, kPrivate, 0},
        ChainCase{"LinkLocalUpperEnd", "febf:ffff::1", {}, {}, kPrivate, 0},
        ChainCase{"UniqueLocal", "fd12:3456::1", {}, {}, kPrivate, 0},
        ChainCase{"UniqueLocalLowerEnd", "fc00::", {}, {}, kPrivate, 0},
        ChainCase{"SiteLocalIsAskedAbout",
                  "fec0::1",
                  {{kIana, "fec0::1", kIanaOwn}},
                  {{kIana, "fec0::1"}},
                  Inet6numRecord(kIanaOwn),
                  1},
        ChainCase{"IanaRefersToArin",
                  "2001:4860:4860::8888",
                  {{kIana, "2001:4860:4860::8888", kIanaToArin},
                   {kArin, "2001:4860:4860::8888", kArinGoogle6}},
                  {{kIana, "2001:4860:4860::8888"}, {kArin, "2001:4860:4860::8888"}},
                  WithCrLf(ArinTodayRecord(kArinGoogle6)),
                  1},
        ChainCase{"AskedInCanonicalText",
                  "2001:4860:4860:0:0:0:0:8888",
                  {{kIana, "2001:4860:4860::8888", kIanaToArin},
                   {kArin, "2001:4860:4860::8888", kArinGoogle6}},
                  {{kIana, "2001:4860:4860::8888"}, {kArin, "2001:4860:4860::8888"}},
                  WithCrLf(ArinTodayRecord(kArinGoogle6)),
                  1},
        ChainCase{
            "IanaRefersToRipe",
            "2a00:2381:ffff::1",
            {{kIana, "2a00:2381:ffff::1", kIanaToRipe}, {kRipe, "2a00:2381:ffff::1", kRipeBt6}},
            {{kIana, "2a00:2381:ffff::1"}, {kRipe, "2a00:2381:ffff::1"}},
            Inet6numRecord(kRipeBt6),
            1},
        ChainCase{
            "IanaRefersToLacnic",
            "2801:10:c000::",
            {{kIana, "2801:10:c000::", kIanaToLacnic}, {kLacnic, "2801:10:c000::", kLacnicCo6}},
            {{kIana, "2801:10:c000::"}, {kLacnic, "2801:10:c000::"}},
            HeadBefore(TailFrom(kLacnicCo6, "inetnum:"), "% whois"),
            1},
        ChainCase{
            "IanaRefersToAfrinic",
            "2c0f:fb50::1",
            {{kIana, "2c0f:fb50::1", kIanaToAfrinic}, {kAfrinic, "2c0f:fb50::1", kAfrinicMtn6}},
            {{kIana, "2c0f:fb50::1"}, {kAfrinic, "2c0f:fb50::1"}},
            Inet6numRecord(kAfrinicMtn6),
            1},
        // The address's leading text lies in a TWNIC band and the name ends "-TW": IPv4 only.
        ChainCase{"IanaRefersToApnicWithoutTwnic",
                  "2030:1::1",
                  {{kIana, "2030:1::1", kIanaToApnic}, {kApnic, "2030:1::1", kApnicHinetTw}},
                  {{kIana, "2030:1::1"}, {kApnic, "2030:1::1"}},
                  WithCrLf(ApnicRecord(kApnicHinetTw)),
                  1},
        ChainCase{"ApnicRoutesOnAsForIpv4",
                  "2400:cb00::1",
                  {{kIana, "2400:cb00::1", kIanaToApnic},
                   {kApnic, "2400:cb00::1", kApnicIana},
                   {kArin, "2400:cb00::1", ArinToday("No match found for 2400:cb00::1.\n")},
                   {kRipe, "2400:cb00::1", kRipeBt6}},
                  {{kIana, "2400:cb00::1"},
                   {kApnic, "2400:cb00::1"},
                   {kArin, "2400:cb00::1"},
                   {kRipe, "2400:cb00::1"}},
                  Inet6numRecord(kRipeBt6),
                  1},
        ChainCase{"ApnicRecord",
                  "2400:cb00::1",
                  {{kIana, "2400:cb00::1", kIanaToApnic}, {kApnic, "2400:cb00::1", kApnic6}},
                  {{kIana, "2400:cb00::1"}, {kApnic, "2400:cb00::1"}},
                  Inet6numRecord(kApnic6),
                  1},
        ChainCase{"ArinNamesAfrinic",
                  "2c0f:fb50::1",
                  {{kIana, "2c0f:fb50::1", IanaReferral("whois:        whois.arin.net\n")},
                   {kArin, "2c0f:fb50::1", kArinTodayAfrinic},
                   {kAfrinic, "2c0f:fb50::1", kAfrinicMtn6}},
                  {{kIana, "2c0f:fb50::1"}, {kArin, "2c0f:fb50::1"}, {kAfrinic, "2c0f:fb50::1"}},
                  Inet6numRecord(kAfrinicMtn6),
                  1},
        ChainCase{"OnlyAWhoisLineNamesTheRegistry",
                  "2601:646:c200:b466::1",
                  {{kIana, "2601:646:c200:b466::1", kIanaWhoisOnly},
                   {kArin, "2601:646:c200:b466::1",
                    ArinToday("NetRange:       2601:: - 2601:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF\n"
                              "OrgId:          CCCS\n")}},
                  {{kIana, "2601:646:c200:b466::1"}, {kArin, "2601:646:c200:b466::1"}},
                  WithCrLf("NetRange:       2601:: - 2601:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF\n"
                           "OrgId:          CCCS\n\n\n"),
                  1},
        ChainCase{"HostComparedWithoutRegardToCase",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", IanaReferral("refer:\tWhois.RIPE.net\n")},
                   {kRipe, "2001:db8::1", kRipeBt6}},
                  {{kIana, "2001:db8::1"}, {kRipe, "2001:db8::1"}},
                  Inet6numRecord(kRipeBt6),
                  1},
        ChainCase{"ReferDecidesBeforeWhois",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1",
                    IanaReferral("whois: whois.arin.net\nrefer: whois.lacnic.net\n")},
                   {kLacnic, "2001:db8::1", kLacnicCo6}},
                  {{kIana, "2001:db8::1"}, {kLacnic, "2001:db8::1"}},
                  HeadBefore(TailFrom(kLacnicCo6, "inetnum:"), "% whois"),
                  1},
        ChainCase{"CapitalReferIsNoKey",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1",
                    IanaReferral("Refer: whois.lacnic.net\nwhois: whois.afrinic.net\n")},
                   {kAfrinic, "2001:db8::1", kAfrinicMtn6}},
                  {{kIana, "2001:db8::1"}, {kAfrinic, "2001:db8::1"}},
                  Inet6numRecord(kAfrinicMtn6),
                  1},
        ChainCase{"EmptyReferShowsIanasRecord",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", IanaReferral("refer:\nwhois: whois.arin.net\n")}},
                  {{kIana, "2001:db8::1"}},
                  kIanaReferralRecord,
                  1},
        ChainCase{"ReferWithTrailingBlankNamesNoRegistry",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", IanaReferral("refer: whois.arin.net \n")}},
                  {{kIana, "2001:db8::1"}},
                  kIanaReferralRecord,
                  1},
        ChainCase{"UnknownHostIsNeverAsked",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", IanaReferral("refer: whois.example.net\n")}},
                  {{kIana, "2001:db8::1"}},
                  kIanaReferralRecord,
                  1},
        ChainCase{"TwnicIsNoReferralTarget",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", IanaReferral("refer: whois.twnic.net.tw\n")}},
                  {{kIana, "2001:db8::1"}},
                  kIanaReferralRecord,
                  1},
        ChainCase{"NoReferralShowsIanasRecord",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", kIanaOwn}},
                  {{kIana, "2001:db8::1"}},
                  Inet6numRecord(kIanaOwn),
                  1},
        ChainCase{"NoReferralNorRecordFails",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", "% IANA WHOIS server\n\n inet6num: 2001:db8::/32\n"}},
                  {{kIana, "2001:db8::1"}},
                  kFailed,
                  0},
        // IANA's reply is no record: a registry that shows none leaves the report empty.
        ChainCase{"RegistryWithoutRecordShowsNothing",
                  "2a00:2381:ffff::1",
                  {{kIana, "2a00:2381:ffff::1", kIanaToRipe},
                   {kRipe, "2a00:2381:ffff::1", "% No entries found.\n"}},
                  {{kIana, "2a00:2381:ffff::1"}, {kRipe, "2a00:2381:ffff::1"}},
                  "",
                  1},
        ChainCase{"IanaReplyFailed",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", "FAILED\nrefer: whois.arin.net\n"}},
                  {{kIana, "2001:db8::1"}},
                  kFailed,
                  0},
        ChainCase{"IanaNotResolved",
                  "2001:db8::1",
                  {},
                  {},
                  kFailed,
                  0,
                  {kIana},
                  {},
                  {kServerNotResolved}},
        ChainCase{"Ipv4MappedIsAskedAsIpv4",
                  "::FFFF:1.1.1.1",
                  {{kApnic, "1.1.1.1", kApnicLabs}},
                  {{kApnic, "1.1.1.1"}},
                  WithCrLf(ApnicRecord(kApnicLabs)),
                  1},
        ChainCase{"Ipv4MappedPrivate", "::ffff:c0a8:1", {}, {}, kPrivate, 0},
        ChainCase{"Ipv4CompatibleIsIpv6",
                  "::8.8.8.8",
                  {{kIana, "::808:808", kIanaOwn}},
                  {{kIana, "::808:808"}},
                  Inet6numRecord(kIanaOwn),
                  1}),
    testing::CaseName<ChainCase>);

// AS numbers: IANA first, then the registry it names, asked in that registry's form; the record
// runs to the reply's end.
INSTANTIATE_TEST_SUITE_P(
    AsNumbers, ReferralChain,
    ::testing::Values(
        ChainCase{"IanaRefersToArin",
                  "AS13335",
                  {{kIana, "AS13335", kIanaAsToArin}, {kArin, "a 13335", kArinAs13335}},
                  {{kIana, "AS13335"}, {kArin, "a 13335"}},
                  AsRecord(kArinAs13335, "ASNumber:"),
                  1},
        ChainCase{"IanaRefersToLacnic",
                  "AS264957",
                  {{kIana, "AS264957", kIanaAsToLacnic}, {kLacnic, "AS264957", kLacnicAs264957}},
                  {{kIana, "AS264957"}, {kLacnic, "AS264957"}},
                  AsRecord(kLacnicAs264957, "aut-num:"),
                  1},
        ChainCase{"IanaRefersToRipe",
                  "AS3333",
                  {{kIana, "AS3333", kIanaAsToRipe}, {kRipe, "AS3333", kRipeAs3333}},
                  {{kIana, "AS3333"}, {kRipe, "AS3333"}},
                  AsRecord(kRipeAs3333, "aut-num:"),
                  1},
        // APNIC's reply names the block first: the record starts at the AS number's own object.
        ChainCase{"IanaRefersToApnic",
                  "AS4608",
                  {{kIana, "AS4608", kIanaAsToApnic}, {kApnic, "AS4608", kApnicAs4608}},
                  {{kIana, "AS4608"}, {kApnic, "AS4608"}},
                  AsRecord(kApnicAs4608, "aut-num:"),
                  1},
        ChainCase{"IanaRefersToAfrinic",
                  "AS36864",
                  {{kIana, "AS36864", kIanaAsToAfrinic}, {kAfrinic, "AS36864", kAfrinicAs36864}},
                  {{kIana, "AS36864"}, {kAfrinic, "AS36864"}},
                  AsRecord(kAfrinicAs36864, "aut-num:"),
                  1},
        ChainCase{"AskedInPlainDecimal",
                  "asn 0.3333",
                  {{kIana, "AS3333", kIanaAsToRipe}, {kRipe, "AS3333", kRipeAs3333}},
                  {{kIana, "AS3333"}, {kRipe, "AS3333"}},
                  AsRecord(kRipeAs3333, "aut-num:"),
                  1},
        ChainCase{"ReplyWithoutRecordIsShownWhole",
                  "AS3333",
                  {{kIana, "AS3333", kIanaAsToRipe}, {kRipe, "AS3333", kRipeAsNone}},
                  {{kIana, "AS3333"}, {kRipe, "AS3333"}},
                  WithCrLf(kRipeAsNone),
                  1},
        ChainCase{"EmptyReplyIsShownWhole",
                  "AS3333",
                  {{kIana, "AS3333", kIanaAsToRipe}, {kRipe, "AS3333", ""}},
                  {{kIana, "AS3333"}, {kRipe, "AS3333"}},
                  "",
                  1},
        ChainCase{"RecordStartBeginsALineAndKeepsItsCase",
                  "AS3333",
                  {{kIana, "AS3333", kIanaAsToRipe},
                   {kRipe, "AS3333", "% x\n Aut-num: AS3333\nremarks: aut-num: AS3333\n"}},
                  {{kIana, "AS3333"}, {kRipe, "AS3333"}},
                  WithCrLf("% x\n Aut-num: AS3333\nremarks: aut-num: AS3333\n"),
                  1},
        ChainCase{"ArinsRecordStartIsItsOwn",
                  "AS13335",
                  {{kIana, "AS13335", kIanaAsToArin},
                   {kArin, "a 13335", "aut-num: AS13335\n\nASNumber: 13335\n# ARIN WHOIS\n"}},
                  {{kIana, "AS13335"}, {kArin, "a 13335"}},
                  WithCrLf("ASNumber: 13335\n# ARIN WHOIS\n"),
                  1},
        // LACNIC's "% whois" cut is for its network records only.
        ChainCase{"LacnicCrLfRecordRunsToTheEnd",
                  "AS264957",
                  {{kIana, "AS264957", kIanaAsToLacnic},
                   {kLacnic, "AS264957", "% x\r\naut-num: AS264957\r\nowner: X\r\n% whois\r\n"}},
                  {{kIana, "AS264957"}, {kLacnic, "AS264957"}},
                  WithCrLf("aut-num: AS264957\r\nowner: X\r\n% whois\r\n"),
                  1},
        ChainCase{"NoReferralShowsIanasAsBlock",
                  "AS64512",
                  {{kIana, "AS64512", kIanaAsOwn}},
                  {{kIana, "AS64512"}},
                  AsRecord(kIanaAsOwn, "as-block:"),
                  1},
        ChainCase{"NoReferralNorAsBlockFails",
                  "AS0",
                  {{kIana, "AS0", "% IANA WHOIS server\n\n as-block: 0-0\ninet6num: ::/0\n"}},
                  {{kIana, "AS0"}},
                  kFailed,
                  0},
        ChainCase{"UnknownHostShowsIanasAsBlock",
                  "AS13335",
                  {{kIana, "AS13335", IanaAsReferral("refer: whois.example.net\n")}},
                  {{kIana, "AS13335"}},
                  kIanaAsReferralRecord,
                  1},
        ChainCase{"TwnicIsNoReferralTarget",
                  "AS13335",
                  {{kIana, "AS13335", IanaAsReferral("refer: whois.twnic.net.tw\n")}},
                  {{kIana, "AS13335"}},
                  kIanaAsReferralRecord,
                  1},
        ChainCase{"OnlyAWhoisLineNamesTheRegistry",
                  "AS13335",
                  {{kIana, "AS13335", IanaAsReferral("whois:        whois.arin.net\n")},
                   {kArin, "a 13335", kArinAs13335}},
                  {{kIana, "AS13335"}, {kArin, "a 13335"}},
                  AsRecord(kArinAs13335, "ASNumber:"),
                  1},
        ChainCase{
            "ReferDecidesBeforeWhoisWithoutRegardToCase",
            "AS13335",
            {{kIana, "AS13335", IanaAsReferral("whois: whois.arin.net\nrefer:\tWHOIS.RIPE.NET\n")},
             {kRipe, "AS13335", kRipeAs3333}},
            {{kIana, "AS13335"}, {kRipe, "AS13335"}},
            AsRecord(kRipeAs3333, "aut-num:"),
            1},
        ChainCase{"TheLargestNumber",
                  "AS65535.65535",
                  {{kIana, "AS4294967295", kIanaAsOwn}},
                  {{kIana, "AS4294967295"}},
                  AsRecord(kIanaAsOwn, "as-block:"),
                  1},
        ChainCase{
            "RegistryReplyFailed",
            "AS3333",
            {{kIana, "AS3333", kIanaAsToRipe}, {kRipe, "AS3333", "FAILED\naut-num: AS3333\n"}},
            {{kIana, "AS3333"}, {kRipe, "AS3333"}},
            kFailed,
            0},
        ChainCase{"RegistryNotResolved",
                  "AS3333",
                  {{kIana, "AS3333", kIanaAsToRipe}},
                  {{kIana, "AS3333"}},
                  kFailed,
                  0,
                  {kRipe},
                  {},
                  {kServerNotResolved}},
        ChainCase{"IanaRefuses", "AS3333", {}, {}, kFailed, 0, {}, {kIana}}),
    testing::CaseName<ChainCase>);

// Prefixes: the address lookup of the network, asked with the prefix at every registry; the
// texts given without asking read the prefix with its host bits cleared.
INSTANTIATE_TEST_SUITE_P(
    Prefixes, ReferralChain,
    ::testing::Values(
        ChainCase{"Private", "10.0.0.0/8", {}, {}, kPrivate, 0},
        ChainCase{"PrivateOnceHostBitsAreCleared", "11.1.2.3/7", {}, {}, kPrivate, 0},
        ChainCase{"Private192", "192.168.7.0/24", {}, {}, kPrivate, 0},
        ChainCase{"Loopback", "127.0.0.0/8", {}, {}, kLoopback, 0},
        ChainCase{"ThroughApnic",
                  "1.1.1.1/24",
                  {{kApnic, "1.1.1.0/24", kApnicLabs}},
                  {{kApnic, "1.1.1.0/24"}},
                  WithCrLf(ApnicRecord(kApnicLabs)),
                  1},
        ChainCase{
            "TwnicAddsToTheApnicRecord",
            "203.66.0.0/16",
            {{kApnic, "203.66.0.0/16", kApnicHinetTw}, {kTwnic, "203.66.0.0/16", kTwnicHinet}},
            {{kApnic, "203.66.0.0/16"}, {kTwnic, "203.66.0.0/16"}},
            WithCrLf(ApnicRecord(kApnicHinetTw) + kTwnicHinet),
            1},
        ChainCase{"ForcedToArinFor168_95",
                  "168.95.0.0/16",
                  {{kApnic, "168.95.0.0/16", kApnicLabs}, {kArin, "168.95.0.0/16", kArinOwn}},
                  {{kApnic, "168.95.0.0/16"}, {kArin, "168.95.0.0/16"}},
                  ArinRecord(kArinOwn),
                  1},
        ChainCase{"ThroughArin",
                  "8.8.8.0/24",
                  {{kApnic, "8.8.8.0/24", kApnicIana},
                   {kArin, "8.8.8.0/24", kArinMatchList},
                   {kArin, "NET-8-8-8-0-1", kArinGoogle}},
                  {{kApnic, "8.8.8.0/24"}, {kArin, "8.8.8.0/24"}, {kArin, "NET-8-8-8-0-1"}},
                  WithCrLf(ArinTodayRecord(kArinGoogle)),
                  1},
        ChainCase{
            "ThroughRipe",
            "128.79.0.0/18",
            {{kApnic, "128.79.0.0/18", kApnicRipeBlock}, {kRipe, "128.79.0.0/18", kRipeBouygtel}},
            {{kApnic, "128.79.0.0/18"}, {kRipe, "128.79.0.0/18"}},
            WithCrLf(ApnicRecord(kRipeBouygtel)),
            1},
        ChainCase{"ThroughLacnic",
                  "200.57.141.0/24",
                  {{kApnic, "200.57.141.0/24", kApnicLacnicBlock},
                   {kLacnic, "200.57.141.0/24", kLacnicTriara}},
                  {{kApnic, "200.57.141.0/24"}, {kLacnic, "200.57.141.0/24"}},
                  HeadBefore(TailFrom(kLacnicTriara, "inetnum:"), "% whois"),
                  1},
        ChainCase{"ThroughAfrinic",
                  "196.11.240.0/24",
                  {{kApnic, "196.11.240.0/24", kApnicIana},
                   {kArin, "196.11.240.0/24", kArinTodayAfrinic},
                   {kAfrinic, "196.11.240.0/24", kAfrinicMtn}},
                  {{kApnic, "196.11.240.0/24"},
                   {kArin, "196.11.240.0/24"},
                   {kAfrinic, "196.11.240.0/24"}},
                  WithCrLf(TailFrom(kAfrinicMtn, "inetnum:")),
                  1},
        ChainCase{"Ipv6ThroughIana",
                  "2001:DB8::1/32",
                  {{kIana, "2001:db8::/32", kIanaOwn}},
                  {{kIana, "2001:db8::/32"}},
                  Inet6numRecord(kIanaOwn),
                  1},
        ChainCase{"Ipv6ReferredToRipe",
                  "2a00:2381::/32",
                  {{kIana, "2a00:2381::/32", kIanaToRipe}, {kRipe, "2a00:2381::/32", kRipeBt6}},
                  {{kIana, "2a00:2381::/32"}, {kRipe, "2a00:2381::/32"}},
                  Inet6numRecord(kRipeBt6),
                  1},
        ChainCase{"Ipv6ReferredToApnicWithoutTwnic",
                  "2030:1::/32",
                  {{kIana, "2030:1::/32", kIanaToApnic}, {kApnic, "2030:1::/32", kApnicHinetTw}},
                  {{kIana, "2030:1::/32"}, {kApnic, "2030:1::/32"}},
                  WithCrLf(ApnicRecord(kApnicHinetTw)),
                  1},
        ChainCase{"Ipv6LinkLocal", "fe80::/10", {}, {}, kPrivate, 0},
        ChainCase{"Ipv6UniqueLocal", "fd00::/8", {}, {}, kPrivate, 0},
        ChainCase{"Ipv6Loopback", "::1/128", {}, {}, kLoopback, 0},
        ChainCase{"Ipv6NetworkAddressAloneCounts",
                  "::1/127",
                  {{kIana, "::/127", kIanaOwn}},
                  {{kIana, "::/127"}},
                  Inet6numRecord(kIanaOwn),
                  1},
        ChainCase{"Ipv4MappedIsAnIpv6Prefix",
                  "::ffff:10.0.0.0/104",
                  {{kIana, "::ffff:a00:0/104", kIanaOwn}},
                  {{kIana, "::ffff:a00:0/104"}},
                  Inet6numRecord(kIanaOwn),
                  1}),
    testing::CaseName<ChainCase>);

struct OwnerCase {
    const char* name;
    std::string asked;
    std::vector<Reply> replies;
    LookupEnding expectedEnding;
    std::optional<Registry> expectedRegistry;
    std::string expectedReply;  // the whole reply the record was cut from
    bool expectedAsRecord = false;
};

void PrintTo(const OwnerCase& ownerCase, std::ostream* out) {
    *out << ownerCase.name;
}

class RecordOwner : public ::testing::TestWithParam<OwnerCase> {};

// The answer names whose reply the record shown was cut from, and hands over that whole reply.
TEST_P(RecordOwner, NamesTheRegistryWhoseReplyTheRecordCameFrom) {
    const OwnerCase& c = GetParam();
    FakeSocketLibrary sockets;
    ServeChain(sockets, c.replies);
    testing::RecordingFeedback feedback;
    CWhoisClient client(sockets, feedback);

    const LookupAnswer answer = LookUp(client, c.asked);

    EXPECT_EQ(answer.ending, c.expectedEnding);
    EXPECT_EQ(answer.registry, c.expectedRegistry);
    EXPECT_EQ(answer.reply, c.expectedReply);
    EXPECT_EQ(answer.asRecord, c.expectedAsRecord);
}

INSTANTIATE_TEST_SUITE_P(
    Chains, RecordOwner,
    ::testing::Values(
        OwnerCase{"ApnicWithTwnicsAddition",
                  "203.66.1.1",
                  {{kApnic, "203.66.1.1", kApnicHinetTw}, {kTwnic, "203.66.1.1", kTwnicHinet}},
                  LookupEnding::Record,
                  Registry::Apnic,
                  kApnicHinetTw},
        OwnerCase{"ArinsHandleReply",
                  "8.8.8.8",
                  {{kApnic, "8.8.8.8", kApnicIana},
                   {kArin, "8.8.8.8", kArinMatchList},
                   {kArin, "NET-8-8-8-0-1", kArinGoogle}},
                  LookupEnding::Record,
                  Registry::Arin,
                  kArinGoogle},
        OwnerCase{"ArinWithoutRecordShowsApnics",
                  "74.1.2.3",
                  {{kApnic, "74.1.2.3", kApnicIana},
                   {kArin, "74.1.2.3", "Example Cable Inc. EXCA-74 NET-74-0-0-0-1 (open\n"}},
                  LookupEnding::Record,
                  Registry::Apnic,
                  kApnicIana},
        OwnerCase{"LacnicWithoutRecordShowsRipes",
                  "200.1.1.1",
                  {{kApnic, "200.1.1.1", kApnicRipeBlock},
                   {kRipe, "200.1.1.1", kRipeIanaBlk},
                   {kLacnic, "200.1.1.1", "% no such block\r\n"}},
                  LookupEnding::Record,
                  Registry::RipeNcc,
                  kRipeIanaBlk},
        OwnerCase{"LacnicsOwnerRecord",
                  "200.57.141.161",
                  {{kApnic, "200.57.141.161", kApnicLacnicBlock},
                   {kLacnic, "200.57.141.161", kLacnicTriara}},
                  LookupEnding::Record,
                  Registry::Lacnic,
                  kLacnicTriara},
        OwnerCase{"Afrinic",
                  "196.11.240.215",
                  {{kApnic, "196.11.240.215", kApnicIana},
                   {kArin, "196.11.240.215", kArinTodayAfrinic},
                   {kAfrinic, "196.11.240.215", kAfrinicMtn}},
                  LookupEnding::Record,
                  Registry::Afrinic,
                  kAfrinicMtn},
        OwnerCase{"IanasOwnIpv6Record",
                  "2001:db8::1",
                  {{kIana, "2001:db8::1", kIanaOwn}},
                  LookupEnding::Record,
                  Registry::Iana,
                  kIanaOwn},
        OwnerCase{"IanasReferralIsNoRecord",
                  "2a00:2381:ffff::1",
                  {{kIana, "2a00:2381:ffff::1", kIanaToRipe},
                   {kRipe, "2a00:2381:ffff::1", "% No entries found.\n"}},
                  LookupEnding::Record,
                  std::nullopt,
                  ""},
        OwnerCase{
            "PrefixThroughRipe",
            "128.79.0.0/18",
            {{kApnic, "128.79.0.0/18", kApnicRipeBlock}, {kRipe, "128.79.0.0/18", kRipeBouygtel}},
            LookupEnding::Record,
            Registry::RipeNcc,
            kRipeBouygtel},
        OwnerCase{"AsNumberAtLacnic",
                  "AS264957",
                  {{kIana, "AS264957", kIanaAsToLacnic}, {kLacnic, "AS264957", kLacnicAs264957}},
                  LookupEnding::Record,
                  Registry::Lacnic,
                  kLacnicAs264957,
                  true},
        OwnerCase{"AsReplyShownWhole",
                  "AS3333",
                  {{kIana, "AS3333", kIanaAsToRipe}, {kRipe, "AS3333", kRipeAsNone}},
                  LookupEnding::Record,
                  Registry::RipeNcc,
                  kRipeAsNone,
                  true},
        OwnerCase{"IanasAsBlock",
                  "AS64512",
                  {{kIana, "AS64512", kIanaAsOwn}},
                  LookupEnding::Record,
                  Registry::Iana,
                  kIanaAsOwn,
                  true},
        OwnerCase{"AsNumberFailed",
                  "AS3333",
                  {{kIana, "AS3333", kIanaAsToRipe}, {kRipe, "AS3333", "FAILED\n"}},
                  LookupEnding::Failed,
                  std::nullopt,
                  ""},
        OwnerCase{"Private", "10.1.2.3", {}, LookupEnding::Private, std::nullopt, ""},
        OwnerCase{"Loopback", "::1", {}, LookupEnding::Loopback, std::nullopt, ""},
        OwnerCase{"ArinNamesApnic",
                  "144.134.121.81",
                  {{kApnic, "144.134.121.81", kApnicErx}, {kArin, "144.134.121.81", kArinErxApnic}},
                  LookupEnding::Failed,
                  std::nullopt,
                  ""}),
    testing::CaseName<OwnerCase>);

}  // namespace
}  // namespace quorvel
