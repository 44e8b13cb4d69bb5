// quorvel-lookup: what goes to stdout and stderr, and the exit status, for each outcome.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "AddressFinder.h"
#include "BatchRows.h"
#include "FakeSocketLibrary.h"
#include "LookupTool.h"

namespace quorvel {
namespace {

using testing::FakeSocketLibrary;

const std::string kApnic = "whois.apnic.net";
const std::string kResolveFailed =
    "Sorry,unable to resolve this destination address!\nHave a double check on destination "
    "address or your network connection, please.\n";

struct ToolCase {
    const char* name;
    std::vector<std::string> args;  // "{list}" stands for a file holding kListFile
    std::string expectedOut;
    std::string expectedErr;
    int expectedStatus;
    std::string input = {};  // standard input
    bool outIsTerminal = false;
    bool errIsTerminal = false;
};

const std::string kListFile = "1.1.1.1\n10.0.0.3\n";
const std::string kCsvHeader =
    "destination,kind,name,address,registry,range,network,holder,country,status\r\n";

// The registries the tool's tests ask: APNIC answers, and RIPE NCC refuses.
void ScriptRegistries(FakeSocketLibrary& sockets) {
    sockets.AddServer(kApnic);
    sockets.SetReply(kApnic, "1.1.1.1", "% APNIC\ninetnum: 1.1.1.0\nnetname: LABS\n");
    sockets.SetReply(kApnic, "2.2.2.2", "inetnum: 2.2.2.0\nnetname: NO-LINE-END");
    sockets.SetReply(kApnic, "4.4.4.4", "inetnum: 4.4.4.0\nnetname: SLOW\n");
    sockets.SetReplyDelay(kApnic, "4.4.4.4", std::chrono::milliseconds(300));
    for (const char* address : {"5.5.5.5", "5.5.5.6"}) {
        sockets.SetReply(kApnic, address, "inetnum: 5.5.0.0\nnetname: RIPE-CIDR-BLOCK\n");
    }
    sockets.SetDefaultReply("whois.ripe.net", "%ERROR:201: access denied for 192.0.2.1\n");
    sockets.SetReply(kApnic, "6.6.6.6",
                     "inetnum: 6.6.6.0 - 6.6.6.255\nnetname: Q-NET\ndescr: Quote \"Q\", Inc.\n"
                     "country: ZZ\n");
    sockets.SetReply(kApnic, "7.7.7.7",
                     "inetnum: 7.7.7.0\nnetname: E\nremarks: \x1b]0;pwned\x07\nremarks: \xc2\x9b"
                     "2J\nremarks: caf\xe9\n");
    sockets.SetReply(kApnic, "9.9.9.9", "inetnum: 9.9.9.0\nnetname: NEVER\n");
    sockets.SetReplyDelay(kApnic, "9.9.9.9", std::chrono::milliseconds(60'000));
    sockets.SetFailure(kApnic, FakeSocketLibrary::Failure::None, 0);
    sockets.AddReverseName({127, 0, 0, 1}, "localhost");
}

// A file of destinations, for the arguments that name "{list}".
std::vector<std::string> WithListFile(std::vector<std::string> args) {
    const std::string path = ::testing::TempDir() + "quorvel-lookup-list.txt";
    std::ofstream(path, std::ios::binary) << kListFile;
    for (std::string& arg : args) {
        if (arg == "{list}") {
            arg = path;
        }
    }
    return args;
}

void PrintTo(const ToolCase& toolCase, std::ostream* out) {
    *out << toolCase.name;
}

class LookupToolTest : public ::testing::TestWithParam<ToolCase> {};

TEST_P(LookupToolTest, PrintsTheResultAndExitsWithItsStatus) {
    FakeSocketLibrary sockets;
    ScriptRegistries(sockets);
    std::istringstream in(GetParam().input);
    std::ostringstream out;
    std::ostringstream err;
    ToolConsole console{in, out, err, GetParam().outIsTerminal, GetParam().errIsTerminal};

    const int status = RunLookupTool(WithListFile(GetParam().args), console, sockets);

    EXPECT_EQ(out.str(), GetParam().expectedOut);
    EXPECT_EQ(err.str(), GetParam().expectedErr);
    EXPECT_EQ(status, GetParam().expectedStatus);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, LookupToolTest,
    ::testing::Values(
        ToolCase{"Version", {"--version"}, "Quorvel Version 1.0\n", "", 0},
        ToolCase{"Loopback",
                 {"127.0.0.1"},
                 "Name:    localhost\r\nAddress: 127.0.0.1\r\n\r\n"
                 "This is a loopback address for this local computer.\n",
                 "",
                 0},
        ToolCase{
            "RecordEndingInLineFeedGetsNoExtraOne",
            {"1.1.1.1"},
            "Name:    1.1.1.1\r\nAddress: 1.1.1.1\r\n\r\ninetnum: 1.1.1.0\r\nnetname: LABS\r\n",
            "",
            0},
        ToolCase{"RecordWithoutLineEndGetsOne",
                 {"2.2.2.2"},
                 "Name:    2.2.2.2\r\nAddress: 2.2.2.2\r\n\r\ninetnum: 2.2.2.0\r\nnetname: "
                 "NO-LINE-END\n",
                 "",
                 0},
        ToolCase{
            "VerboseNamesEachExchange",
            {"-v", "1.1.1.1"},
            "Name:    1.1.1.1\r\nAddress: 1.1.1.1\r\n\r\ninetnum: 1.1.1.0\r\nnetname: LABS\r\n",
            "Querying whois.apnic.net for \"1.1.1.1\"\n",
            0},
        ToolCase{
            "VerboseSaysHowAPastedTextWasRead",
            {"-v", "<1.1.1.1:443>"},
            "Name:    1.1.1.1\r\nAddress: 1.1.1.1\r\n\r\ninetnum: 1.1.1.0\r\nnetname: LABS\r\n",
            "Reading \"<1.1.1.1:443>\" as the address \"1.1.1.1\"\n"
            "Querying whois.apnic.net for \"1.1.1.1\"\n",
            0},
        ToolCase{"VerboseSaysHowAPrefixWasRead",
                 {"-v", "192.168.1.1/16"},
                 "Name:    192.168.0.0/16\r\nAddress: 192.168.0.0/16\r\n\r\n"
                 "This is a private IP address.\n",
                 "Reading \"192.168.1.1/16\" as the prefix \"192.168.0.0/16\"\n",
                 0},
        ToolCase{"VerboseSaysNothingOfATextReadAsTyped",
                 {"-v", " 192.168.1.1 ", "10.0.0.0/8"},
                 "Name:    192.168.1.1\r\nAddress: 192.168.1.1\r\n\r\n"
                 "This is a private IP address.\n\n"
                 "Name:    10.0.0.0/8\r\nAddress: 10.0.0.0/8\r\n\r\n"
                 "This is a private IP address.\n",
                 "",
                 0},
        ToolCase{"PastedTextWithoutVerboseSaysNothing",
                 {"[dot]nowhere[.]example[.]test"},
                 "",
                 kResolveFailed,
                 3},
        ToolCase{"VerboseNamesAReadingThatDoesNotResolve",
                 {"-v", "https://nowhere.example.test/"},
                 "",
                 "Reading \"https://nowhere.example.test/\" as the host name "
                 "\"nowhere.example.test\"\n" +
                     kResolveFailed,
                 3},
        ToolCase{"EmptyDestination", {""}, "", "Please type destination address.\n", 2},
        ToolCase{"Unresolved", {"nowhere.example.test"}, "", kResolveFailed, 3},
        ToolCase{"SeveralTakeTheHighestStatus",
                 {"192.168.1.1", "nowhere.example.test", "10.0.0.1"},
                 "Name:    192.168.1.1\r\nAddress: 192.168.1.1\r\n\r\n"
                 "This is a private IP address.\n\n"
                 "Name:    10.0.0.1\r\nAddress: 10.0.0.1\r\n\r\nThis is a private IP address.\n",
                 kResolveFailed,
                 3},
        ToolCase{"DoubleDashEndsOptions", {"--", "-v"}, "", kResolveFailed, 3},
        ToolCase{"UnknownOption",
                 {"--frobnicate", "1.1.1.1"},
                 "",
                 "quorvel-lookup: unknown option '--frobnicate'\n"
                 "Try 'quorvel-lookup --help' for more information.\n",
                 2},
        ToolCase{"NoDestination",
                 {"-v"},
                 "",
                 "quorvel-lookup: no destination given\n"
                 "Try 'quorvel-lookup --help' for more information.\n",
                 2},
        ToolCase{"NegativeNumberIsAnUnknownOption",
                 {"-1.2.3.4"},
                 "",
                 "quorvel-lookup: unknown option '-1.2.3.4'\n"
                 "Try 'quorvel-lookup --help' for more information.\n",
                 2},
        ToolCase{"UnknownOptionAmongShortOnes",
                 {"-vx", "1.1.1.1"},
                 "",
                 "quorvel-lookup: unknown option '-vx'\n"
                 "Try 'quorvel-lookup --help' for more information.\n",
                 2},
        ToolCase{"JobsOutOfRange",
                 {"--jobs", "33", "1.1.1.1"},
                 "",
                 "quorvel-lookup: --jobs: Value 33 not in range 1 to 32\n"
                 "Try 'quorvel-lookup --help' for more information.\n",
                 2},
        ToolCase{"FileWithoutItsName",
                 {"1.1.1.1", "-f"},
                 "",
                 "quorvel-lookup: --file: 1 required TEXT missing\n"
                 "Try 'quorvel-lookup --help' for more information.\n",
                 2},
        ToolCase{"UnknownFormat",
                 {"--format", "xml", "1.1.1.1"},
                 "",
                 "quorvel-lookup: --format: xml not in {text,csv,json}\n"
                 "Try 'quorvel-lookup --help' for more information.\n",
                 2},
        // A batch in the text format writes what one destination after another would.
        ToolCase{"BatchTextAsOneAfterAnother",
                 {"--jobs", "2", "192.168.1.1", "nowhere.example.test", "10.0.0.1"},
                 "Name:    192.168.1.1\r\nAddress: 192.168.1.1\r\n\r\n"
                 "This is a private IP address.\n\n"
                 "Name:    10.0.0.1\r\nAddress: 10.0.0.1\r\n\r\nThis is a private IP address.\n",
                 kResolveFailed,
                 3},
        ToolCase{"BatchKeepsTheInputOrder",
                 {"--format", "csv", "--jobs", "4", "4.4.4.4", "2.2.2.2", "10.0.0.9"},
                 kCsvHeader +
                     "4.4.4.4,address,4.4.4.4,4.4.4.4,APNIC,4.4.4.0,SLOW,,,record\r\n"
                     "2.2.2.2,address,2.2.2.2,2.2.2.2,APNIC,2.2.2.0,NO-LINE-END,,,record\r\n"
                     "10.0.0.9,address,10.0.0.9,10.0.0.9,,,,,,private\r\n",
                 "",
                 0},
        ToolCase{"CsvQuotesAHolderWithCommaAndQuote",
                 {"--format", "csv", "6.6.6.6"},
                 kCsvHeader + "6.6.6.6,address,6.6.6.6,6.6.6.6,APNIC,6.6.6.0 - 6.6.6.255,Q-NET,"
                              "\"Quote \"\"Q\"\", Inc.\",ZZ,record\r\n",
                 "",
                 0},
        ToolCase{"JsonEscapesControlsAndReadsLatin1",
                 {"--format", "json", "7.7.7.7"},
                 "{\"destination\":\"7.7.7.7\",\"kind\":\"address\",\"name\":\"7.7.7.7\","
                 "\"address\":\"7.7.7.7\",\"registry\":\"APNIC\",\"range\":\"7.7.7.0\","
                 "\"network\":\"E\",\"holder\":\"\",\"country\":\"\",\"status\":\"record\","
                 "\"record\":\"inetnum: 7.7.7.0\\nnetname: E\\nremarks: \\u001b]0;pwned\\u0007\\n"
                 "remarks: \\u009b2J\\nremarks: caf\xc3\xa9\\n\"}\n",
                 "",
                 0},
        ToolCase{"TextOnATerminalShowsControlsAsEscapes",
                 {"7.7.7.7"},
                 "Name:    7.7.7.7\r\nAddress: 7.7.7.7\r\n\r\ninetnum: 7.7.7.0\r\nnetname: E\r\n"
                 "remarks: \\x1b]0;pwned\\x07\r\nremarks: \\xc2\\x9b2J\r\nremarks: caf\xe9\r\n",
                 "",
                 0,
                 "",
                 true},
        ToolCase{"TextRedirectedStaysByteForByte",
                 {"7.7.7.7"},
                 "Name:    7.7.7.7\r\nAddress: 7.7.7.7\r\n\r\ninetnum: 7.7.7.0\r\nnetname: E\r\n"
                 "remarks: \x1b]0;pwned\x07\r\nremarks: \xc2\x9b"
                 "2J\r\nremarks: caf\xe9\r\n",
                 "",
                 0},
        ToolCase{"FileWithCommentsCrLfBomAndBlankLinesAmongArguments",
                 {"10.0.0.1", "-f", "-", "192.168.0.1", "--format", "csv"},
                 kCsvHeader + "10.0.0.1,address,10.0.0.1,10.0.0.1,,,,,,private\r\n"
                              "127.0.0.1,address,localhost,127.0.0.1,,,,,,loopback\r\n"
                              "10.0.0.2,address,10.0.0.2,10.0.0.2,,,,,,private\r\n"
                              "192.168.0.1,address,192.168.0.1,192.168.0.1,,,,,,private\r\n",
                 "",
                 0,
                 "\xef\xbb\xbf# the list\r\n\r\n  127.0.0.1  \r\n\t\n10.0.0.2\n   # the end"},
        ToolCase{
            "FileFromDisk",
            {"-vf", "{list}"},
            "Name:    1.1.1.1\r\nAddress: 1.1.1.1\r\n\r\ninetnum: 1.1.1.0\r\nnetname: LABS\r\n\n"
            "Name:    10.0.0.3\r\nAddress: 10.0.0.3\r\n\r\nThis is a private IP address.\n",
            "Querying whois.apnic.net for \"1.1.1.1\"\n",
            0},
        ToolCase{"EmptyFileGivesTheHeaderAlone", {"--format", "csv", "-f", "-"}, kCsvHeader, "", 0},
        // A directory opens as a file on Linux and reads as an empty one: it must not pass as
        // an empty list.
        ToolCase{"DirectoryIsNoFileOfDestinations",
                 {"--format", "csv", "-f", "."},
                 "",
                 "quorvel-lookup: cannot read '.'\n",
                 2},
        ToolCase{"EmptyDestinationInABatch",
                 {"--format", "json", ""},
                 "{\"destination\":\"\",\"kind\":\"\",\"name\":\"\",\"address\":\"\",\"registry\":"
                 "\"\",\"range\":\"\",\"network\":\"\",\"holder\":\"\",\"country\":\"\","
                 "\"status\":\"empty\",\"record\":\"\"}\n",
                 "Please type destination address.\n",
                 2},
        ToolCase{"RefusingRegistryIsNotAskedAgain",
                 {"--format", "csv", "--jobs", "1", "5.5.5.5", "5.5.5.6"},
                 kCsvHeader + "5.5.5.5,address,5.5.5.5,5.5.5.5,,,,,,refused\r\n"
                              "5.5.5.6,address,5.5.5.6,5.5.5.6,,,,,,refused\r\n",
                 "quorvel-lookup: RIPE NCC refused to answer, from 5.5.5.5 on; it is not asked "
                 "again in this run\n",
                 1},
        ToolCase{"ExtractCountsEachAddressOnceInTheOrderFirstSeen",
                 {"--extract", "--format", "csv", "-f", "-"},
                 "destination,kind,name,address,registry,range,network,holder,country,status,"
                 "count\r\n"
                 "10.0.0.1,address,10.0.0.1,10.0.0.1,,,,,,private,2\r\n"
                 "fe80::1,address,fe80::1,fe80::1,,,,,,private,1\r\n",
                 "",
                 0,
                 "from 10.0.0.1 port 22\n[FE80::1]:22 and 10.0.0.1.\n"}),
    testing::CaseName<ToolCase>);

TEST(LookupToolRun, FailedQueryExitsOneWithTheMessageOnStderr) {
    FakeSocketLibrary sockets;  // no registry resolves
    std::ostringstream out;
    std::ostringstream err;

    EXPECT_EQ(RunLookupTool({"1.1.1.1"}, out, err, sockets), 1);
    EXPECT_EQ(out.str(), "Name:    1.1.1.1\r\nAddress: 1.1.1.1\r\n\r\nFailed to query.\n");
    EXPECT_EQ(err.str(), "Failed to resolve server!\n");
}

TEST(LookupToolRun, HelpGoesToStdout) {
    FakeSocketLibrary sockets;
    std::ostringstream out;
    std::ostringstream err;

    EXPECT_EQ(RunLookupTool({"--help"}, out, err, sockets), 0);
    EXPECT_EQ(out.str().rfind("Usage: quorvel-lookup", 0), 0u);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(sockets.Startups(), 0);
}

TEST(LookupToolRun, SocketLibraryStartsOnceAndIsReleasedOnce) {
    FakeSocketLibrary sockets;
    sockets.SetStartupResult(10091);  // the library is not ready
    std::ostringstream out;
    std::ostringstream err;

    EXPECT_EQ(RunLookupTool({"192.168.1.1", "10.0.0.1"}, out, err, sockets), 0);
    EXPECT_EQ(err.str(), "WSAStartup failed!\n");
    EXPECT_EQ(sockets.Startups(), 1);
    EXPECT_EQ(sockets.Cleanups(), 1);
}

// A batch asks each destination once, however often and however it is written, and each
// exchange once; every line still gets its answer.
TEST(LookupToolBatch, SameDestinationIsAskedOnce) {
    FakeSocketLibrary sockets;
    ScriptRegistries(sockets);
    std::ostringstream out;
    std::ostringstream err;

    const int status =
        RunLookupTool({"--format", "csv", "1.1.1.1", " 1.1.1.1 ", "[1.1.1.1]", "http://1.1.1.1/"},
                      out, err, sockets);

    EXPECT_EQ(status, 0);
    EXPECT_EQ(sockets.Requests().size(), 1u);
    const std::string row = ",address,1.1.1.1,1.1.1.1,APNIC,1.1.1.0,LABS,,,record\r\n";
    EXPECT_EQ(out.str(), kCsvHeader + "1.1.1.1" + row + "1.1.1.1" + row + "[1.1.1.1]" + row +
                             "http://1.1.1.1/" + row);
}

TEST(LookupToolBatch, NoMoreExchangesAtOnceWithOneServerThanAllowed) {
    FakeSocketLibrary sockets;
    std::vector<std::string> args = {"--jobs", "8", "--per-server", "2", "--format", "csv"};
    for (int host = 1; host <= 12; ++host) {
        const std::string address = "3.0.0." + std::to_string(host);
        sockets.SetReply(kApnic, address, "inetnum: 3.0.0.0\nnetname: THREE\n");
        sockets.SetReplyDelay(kApnic, address, std::chrono::milliseconds(50));
        args.push_back(address);
    }
    std::ostringstream out;
    std::ostringstream err;

    EXPECT_EQ(RunLookupTool(args, out, err, sockets), 0);
    EXPECT_EQ(sockets.Requests().size(), 12u);
    EXPECT_EQ(sockets.MostOpenAtOnce(kApnic), 2);
}

// Interrupted while a lookup waits for a registry that takes a minute: the run ends at once,
// with every answer that was complete, whole and in order, and exit status 130.
TEST(LookupToolBatch, InterruptWritesTheCompleteAnswersInOrder) {
    FakeSocketLibrary sockets;
    ScriptRegistries(sockets);
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    std::atomic<bool> interrupted{false};
    ToolConsole console{in, out, err};
    console.interrupted = &interrupted;
    std::thread user([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        interrupted = true;
    });
    const auto started = std::chrono::steady_clock::now();

    const int status = RunLookupTool(
        {"--format", "csv", "--jobs", "2", "10.0.0.1", "9.9.9.9", "1.1.1.1", "10.0.0.2"}, console,
        sockets);
    user.join();

    EXPECT_EQ(status, 130);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_EQ(out.str(), kCsvHeader +
                             "10.0.0.1,address,10.0.0.1,10.0.0.1,,,,,,private\r\n"
                             "1.1.1.1,address,1.1.1.1,1.1.1.1,APNIC,1.1.1.0,LABS,,,record\r\n"
                             "10.0.0.2,address,10.0.0.2,10.0.0.2,,,,,,private\r\n");
}

// On a terminal a batch of two or more draws its progress on stderr and clears it at the end;
// nowhere else, and not with --no-progress.
TEST(LookupToolBatch, ProgressOnlyOnATerminal) {
    for (const bool terminal : {true, false}) {
        for (const bool noProgress : {false, true}) {
            FakeSocketLibrary sockets;
            ScriptRegistries(sockets);
            std::istringstream in;
            std::ostringstream out;
            std::ostringstream err;
            ToolConsole console{in, out, err, false, terminal};
            std::vector<std::string> args = {"--format", "csv", "4.4.4.4", "10.0.0.1"};
            if (noProgress) {
                args.emplace_back("--no-progress");
            }

            EXPECT_EQ(RunLookupTool(args, console, sockets), 0);
            const std::string drawn = err.str();
            if (terminal && !noProgress) {
                EXPECT_NE(drawn.find("/2 ["), std::string::npos) << drawn;
                EXPECT_EQ(drawn.find('\n'), std::string::npos);
                ASSERT_FALSE(drawn.empty());
                const std::string last = drawn.substr(drawn.rfind('\r', drawn.size() - 2));
                EXPECT_EQ(last.find_first_not_of(" \r"), std::string::npos) << "not cleared";
            } else {
                EXPECT_EQ(drawn, "");
            }
        }
    }
}

// Finding the addresses in a log.
struct FindCase {
    const char* name;
    std::string text;
    std::vector<std::pair<std::string, std::size_t>> found;
};

void PrintTo(const FindCase& findCase, std::ostream* out) {
    *out << findCase.name;
}

class AddressesInText : public ::testing::TestWithParam<FindCase> {};

TEST_P(AddressesInText, AreFoundOnceEachWithTheirCount) {
    // Read whole, and again in pieces of one byte, which split every address.
    for (const std::size_t piece : {GetParam().text.size() + 1, std::size_t{1}}) {
        CAddressFinder finder;
        for (std::size_t at = 0; at < GetParam().text.size(); at += piece) {
            finder.Read(std::string_view(GetParam().text).substr(at, piece));
        }
        finder.Finish();
        std::vector<std::pair<std::string, std::size_t>> found;
        for (const FoundAddress& address : finder.Found()) {
            found.emplace_back(address.text, address.count);
        }
        EXPECT_EQ(found, GetParam().found) << "pieces of " << piece;
    }
}

using Found = std::vector<std::pair<std::string, std::size_t>>;

INSTANTIATE_TEST_SUITE_P(
    Logs, AddressesInText,
    ::testing::Values(
        FindCase{"WebLog",
                 "203.0.113.9 - - [10/Oct/2026:13:55:36 +0000] \"GET / HTTP/1.1\" 200 2326\n"
                 "198.51.100.7 - - [10/Oct/2026:13:55:37 +0000] \"GET /a HTTP/1.1\" 404 0\n"
                 "203.0.113.9 - - [10/Oct/2026:13:55:38 +0000] \"GET /b HTTP/1.1\" 200 7\n",
                 Found{{"203.0.113.9", 2}, {"198.51.100.7", 1}}},
        FindCase{"PartOfALongerRunIsNoAddress", "1.2.3.4.5 and 1.2.3.4.5.6 and 211.2.3.45",
                 Found{{"211.2.3.45", 1}}},
        FindCase{"SentenceEndsAfterAnAddress", "from 192.0.2.1. Then 192.0.2.1.\n",
                 Found{{"192.0.2.1", 2}}},
        FindCase{"VersionsAndDatesAreNoAddresses",
                 "Chrome/120.0.6099.109 v2.0.0 2026.10.05 1.2.3 256.1.1.1 01.2.3.4", Found{}},
        FindCase{"LettersAroundAnIpv4Address", "ip-10.0.0.1x src=10.0.0.2,dst=10.0.0.3;",
                 Found{{"10.0.0.1", 1}, {"10.0.0.2", 1}, {"10.0.0.3", 1}}},
        FindCase{"Ipv6InBracketsWithPortsAndZone",
                 "[2001:db8::1]:443 <2001:DB8:0:0::1> fe80::1%eth0 [::1]",
                 Found{{"2001:db8::1", 2}, {"fe80::1", 1}, {"::1", 1}}},
        FindCase{"Ipv4WithAPort", "connect to 198.51.100.7:25 refused", Found{{"198.51.100.7", 1}}},
        FindCase{"Ipv4MappedIsItsIpv4Address", "::ffff:192.0.2.1 and 192.0.2.1",
                 Found{{"192.0.2.1", 2}}},
        FindCase{"WordsAndTimesAreNoIpv6",
                 "std::cout at 12:30:01, mac 00:1a:2b:3c:4d:5e, dead:beef", Found{}},
        FindCase{"LongRunsAreNotRead",
                 std::string(5000, '1') + ".2.3.4 " + std::string(70, ':') + "1 10.9.8.7",
                 Found{{"10.9.8.7", 1}}},
        FindCase{"OrderFirstSeenAndCounts", "b 10.0.0.2 a 10.0.0.1 10.0.0.2 10.0.0.2 2001:db8::2",
                 Found{{"10.0.0.2", 3}, {"10.0.0.1", 1}, {"2001:db8::2", 1}}}),
    testing::CaseName<FindCase>);

// CSV's quoting and JSON's escapes, field by field.
struct RowCase {
    const char* name;
    std::string holder;
    std::string record;
    std::string csvHolder;
    std::string jsonHolder;
    std::string jsonRecord;
};

void PrintTo(const RowCase& rowCase, std::ostream* out) {
    *out << rowCase.name;
}

class BatchRowFields : public ::testing::TestWithParam<RowCase> {};

TEST_P(BatchRowFields, AreQuotedAndEscapedByTheirFormatsRules) {
    BatchRow row;
    row.destination = "d";
    row.summary.holder = GetParam().holder;
    row.record = GetParam().record;
    row.status = "record";

    EXPECT_EQ(CsvRow(row), "d,,,,,,," + GetParam().csvHolder + ",,record\r\n");
    EXPECT_EQ(JsonLine(row),
              "{\"destination\":\"d\",\"kind\":\"\",\"name\":\"\",\"address\":\"\",\"registry\":"
              "\"\",\"range\":\"\",\"network\":\"\",\"holder\":\"" +
                  GetParam().jsonHolder +
                  "\",\"country\":\"\",\"status\":\"record\",\"record\":\"" +
                  GetParam().jsonRecord + "\"}\n");
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BatchRowFields,
    ::testing::Values(
        RowCase{"Plain", "Example Ltd", "r", "Example Ltd", "Example Ltd", "r"},
        RowCase{"Comma", "Example, Ltd", "", "\"Example, Ltd\"", "Example, Ltd", ""},
        RowCase{"Quote", "The \"Q\" Co", "", "\"The \"\"Q\"\" Co\"", "The \\\"Q\\\" Co", ""},
        RowCase{"LineEnd", "two\r\nlines", "a\r\nb\r\r\nc", "\"two\nlines\"", "two\\nlines",
                "a\\nb\\nc"},
        RowCase{"Controls", "e\x1b[2Jx\x7f", "\t\x01", "e\x1b[2Jx\x7f", "e\\u001b[2Jx\\u007f",
                "\\t\\u0001"},
        RowCase{"C1InUtf8",
                "\xc2\x9b"
                "1m",
                "",
                "\xc2\x9b"
                "1m",
                "\\u009b1m", ""},
        RowCase{"Latin1", "M\xfcller GmbH", "caf\xe9\nna\xc3\xafve", "M\xc3\xbcller GmbH",
                "M\xc3\xbcller GmbH", "caf\xc3\xa9\\nna\xc3\xafve"},
        RowCase{"InvalidUtf8ReadAsLatin1", "\xc3\x28\xff", "\xed\xa0\x80", "\xc3\x83(\xc3\xbf",
                "\xc3\x83(\xc3\xbf", "\xc3\xad\xc2\xa0\\u0080"},
        RowCase{"NulShownAsItsSymbol", std::string("a\0b", 3), "",
                "a\xe2\x90\x80"
                "b",
                "a\xe2\x90\x80"
                "b",
                ""}),
    testing::CaseName<RowCase>);

}  // namespace
}  // namespace quorvel
