// quorvel-lookup: what goes to stdout and stderr, and the exit status, for each outcome.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <sstream>

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
    std::vector<std::string> args;
    std::string expectedOut;
    std::string expectedErr;
    int expectedStatus;
};

void PrintTo(const ToolCase& toolCase, std::ostream* out) {
    *out << toolCase.name;
}

class LookupToolTest : public ::testing::TestWithParam<ToolCase> {};

TEST_P(LookupToolTest, PrintsTheResultAndExitsWithItsStatus) {
    FakeSocketLibrary sockets;
    sockets.AddServer(kApnic);
    sockets.SetReply(kApnic, "1.1.1.1", "% APNIC\ninetnum: 1.1.1.0\nnetname: LABS\n");
    sockets.SetReply(kApnic, "2.2.2.2", "inetnum: 2.2.2.0\nnetname: NO-LINE-END");
    sockets.SetFailure(kApnic, FakeSocketLibrary::Failure::None, 0);
    sockets.AddReverseName({127, 0, 0, 1}, "localhost");
    std::ostringstream out;
    std::ostringstream err;

    const int status = RunLookupTool(GetParam().args, out, err, sockets);

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
                 2}),
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

}  // namespace
}  // namespace quorvel
