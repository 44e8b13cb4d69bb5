// The Locate command: the header for each way a destination resolves, the resolve failures,
// and the input lock around every command.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <algorithm>
#include <iterator>

#include "FakeSocketLibrary.h"
#include "LocateCommand.h"
#include "RecordingView.h"
#include "TestData.h"

namespace quorvel {
namespace {

using testing::FakeSocketLibrary;
using testing::RecordingView;

const std::string kApnic = "whois.apnic.net";
const std::string kResolveFailed =
    "Sorry,unable to resolve this destination address!\nHave a double check on destination "
    "address or your network connection, please.";
const std::string kApnicReply = "% APNIC\n\ninetnum: 1.1.1.0 - 1.1.1.255\nnetname: TEST-NET\n";
const std::string kApnicRecord = "inetnum: 1.1.1.0 - 1.1.1.255\r\nnetname: TEST-NET\r\n";

struct LocateCase {
    const char* name;
    std::string typed;
    std::string expectedText;  // the information box at the end
    LocateOutcome expectedOutcome;
    std::vector<std::string> expectedMessages;
    std::vector<std::string> expectedQueries;  // what APNIC is asked
};

void PrintTo(const LocateCase& locateCase, std::ostream* out) {
    *out << locateCase.name;
}

// The destinations the fake resolver knows.
void ScriptNetwork(FakeSocketLibrary& sockets) {
    sockets.AddServer(kApnic);
    sockets.SetDefaultReply(kApnic, kApnicReply);
    sockets.AddReverseName({1, 1, 1, 1}, "one.one.one.one");
    sockets.AddReverseName({127, 0, 0, 1}, "localhost");
    sockets.AddHostName("www.example.test", {{1, 2, 3, 4}, {5, 6, 7, 8}});
    sockets.AddHostName("loopback.example.test", {{127, 0, 0, 1}});
    sockets.AddHostName("v6only.example.test", {});
}

class LocateCommandTest : public ::testing::TestWithParam<LocateCase> {};

TEST_P(LocateCommandTest, ShowsHeaderAndReportOrTellsWhy) {
    const LocateCase& c = GetParam();
    FakeSocketLibrary sockets;
    ScriptNetwork(sockets);
    RecordingView view(c.typed);

    const LocateOutcome outcome = CLocateCommand(view, sockets).OnLocate();

    EXPECT_EQ(view.information, c.expectedText);
    EXPECT_EQ(outcome, c.expectedOutcome);
    EXPECT_EQ(view.messages, c.expectedMessages);
    std::vector<std::string> queries;
    for (const auto& request : sockets.Requests()) {
        queries.push_back(request.bytes);
    }
    std::vector<std::string> expectedQueries;
    for (const std::string& query : c.expectedQueries) {
        expectedQueries.push_back(query + " \r\n");
    }
    EXPECT_EQ(queries, expectedQueries);
}

// Every command locks the input first, shows "Querying..." and repaints before blocking, and
// ends unlocked with the focus in the address box; the wait cursor comes in pairs.
TEST_P(LocateCommandTest, LocksAndUnlocksInputInPairs) {
    FakeSocketLibrary sockets;
    ScriptNetwork(sockets);
    RecordingView view(GetParam().typed);

    CLocateCommand(view, sockets).OnLocate();

    const std::vector<std::string> start = {"disable address", "disable locate", "wait begin",
                                            "text Querying...", "repaint"};
    ASSERT_GE(view.log.size(), start.size());
    EXPECT_EQ(std::vector<std::string>(view.log.begin(), view.log.begin() + 5), start);

    std::vector<std::string> lockSteps;
    std::copy_if(view.log.begin(), view.log.end(), std::back_inserter(lockSteps),
                 [](const std::string& step) {
                     return step.rfind("text", 0) != 0 && step.rfind("box", 0) != 0 &&
                            step != "repaint";
                 });
    const std::vector<std::string> expected = {"disable address", "disable locate", "wait begin",
                                               "enable address",  "enable locate",  "wait end",
                                               "focus address"};
    EXPECT_EQ(lockSteps, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Destinations, LocateCommandTest,
    ::testing::Values(
        LocateCase{"EmptyInput",
                   "",
                   "Ready.",
                   LocateOutcome::EmptyDestination,
                   {"Please type destination address."},
                   {}},
        LocateCase{"DottedWithReverseName",
                   "1.1.1.1",
                   "Name:    one.one.one.one\r\nAddress: 1.1.1.1\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.1.1.1"}},
        LocateCase{"DottedWithoutNameIsItsOwnName",
                   "9.9.9.9",
                   "Name:    9.9.9.9\r\nAddress: 9.9.9.9\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"9.9.9.9"}},
        LocateCase{"ShortFormStaysAsTyped",
                   "127.1",
                   "Name:    localhost\r\nAddress: 127.1\r\n\r\n"
                   "This is a loopback address for this local computer.",
                   LocateOutcome::Answered,
                   {},
                   {}},
        LocateCase{"HostNameAsTypedWithFirstAddress",
                   "www.example.test",
                   "Name:    www.example.test\r\nAddress: 1.2.3.4\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.2.3.4"}},
        LocateCase{"HostNameResolvingToLoopback",
                   "loopback.example.test",
                   "Name:    loopback.example.test\r\nAddress: 127.0.0.1\r\n\r\n"
                   "This is a loopback address for this local computer.",
                   LocateOutcome::Answered,
                   {},
                   {}},
        LocateCase{"PrivateAddress",
                   "192.168.1.1",
                   "Name:    192.168.1.1\r\nAddress: 192.168.1.1\r\n\r\n"
                   "This is a private IP address.",
                   LocateOutcome::Answered,
                   {},
                   {}},
        LocateCase{"UnknownHostName",
                   "nowhere.example.test",
                   "Ready.",
                   LocateOutcome::Unresolved,
                   {kResolveFailed},
                   {}},
        LocateCase{"HostNameWithoutIpv4Address",
                   "v6only.example.test",
                   "Ready.",
                   LocateOutcome::Unresolved,
                   {kResolveFailed},
                   {}},
        LocateCase{"AllOnesIsAHostName",
                   "255.255.255.255",
                   "Ready.",
                   LocateOutcome::Unresolved,
                   {kResolveFailed},
                   {}},
        LocateCase{"TypedTextIsNotTrimmed",
                   " 1.1.1.1",
                   "Ready.",
                   LocateOutcome::Unresolved,
                   {kResolveFailed},
                   {}}),
    testing::CaseName<LocateCase>);

TEST(LocateCommandResolver, ReverseLookupFailingForAnotherReasonIsAResolveFailure) {
    FakeSocketLibrary sockets;
    ScriptNetwork(sockets);
    sockets.SetReverseError(11002);  // the resolver could not be asked
    RecordingView view("9.9.9.9");

    EXPECT_EQ(CLocateCommand(view, sockets).OnLocate(), LocateOutcome::Unresolved);
    EXPECT_EQ(view.messages, std::vector<std::string>{kResolveFailed});
    EXPECT_EQ(view.information, "Ready.");
    EXPECT_TRUE(sockets.Requests().empty());
}

TEST(LocateCommandResolver, EmptyInputAsksNoResolver) {
    FakeSocketLibrary sockets;
    RecordingView view("");

    CLocateCommand(view, sockets).OnLocate();
    EXPECT_EQ(sockets.ResolverCalls(), 0);
}

TEST(LocateCommandResolver, MessageBoxesAskForTheExclamationIcon) {
    FakeSocketLibrary sockets;
    RecordingView view("");

    CLocateCommand(view, sockets).OnLocate();
    EXPECT_NE(std::find(view.log.begin(), view.log.end(), "box! Please type destination address."),
              view.log.end());
}

TEST(LocateCommandResolver, UnreachableRegistryStillShowsTheHeader) {
    FakeSocketLibrary sockets;
    sockets.AddReverseName({1, 1, 1, 1}, "one.one.one.one");
    RecordingView view("1.1.1.1");  // APNIC's name does not resolve

    EXPECT_EQ(CLocateCommand(view, sockets).OnLocate(), LocateOutcome::QueryFailed);
    EXPECT_EQ(view.messages, std::vector<std::string>{"Failed to resolve server!"});
    EXPECT_EQ(view.information,
              "Name:    one.one.one.one\r\nAddress: 1.1.1.1\r\n\r\nFailed to query.");
}

}  // namespace
}  // namespace quorvel
