// The Locate command: the header for each way a destination resolves, the resolve failures,
// and the input lock around every command; and the same command run off the window's thread.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <iterator>
#include <mutex>

#include "FakeSocketLibrary.h"
#include "LocateCommand.h"
#include "LocateWorker.h"
#include "RecordingView.h"
#include "TestData.h"

namespace quorvel {
namespace {

using testing::FakeSocketLibrary;
using testing::RecordingView;
using namespace std::chrono_literals;

const std::string kApnic = "whois.apnic.net";
const std::string kIana = "whois.iana.org";
const std::string kRipe = "whois.ripe.net";
const std::string kResolveFailed =
    "Sorry,unable to resolve this destination address!\nHave a double check on destination "
    "address or your network connection, please.";
const std::string kApnicReply = "% APNIC\n\ninetnum: 1.1.1.0 - 1.1.1.255\nnetname: TEST-NET\n";
const std::string kApnicRecord = "inetnum: 1.1.1.0 - 1.1.1.255\r\nnetname: TEST-NET\r\n";
const std::string kIanaReply = "% IANA\n\ninet6num: 2001::/16\n";
const std::string kIanaRecord = "inet6num: 2001::/16\r\n";
const std::string kIanaAsReferral = "% IANA\n\nrefer: whois.ripe.net\n\nas-block: 15169-15169\n";
const std::string kRipeAsReply = "% RIPE\n\naut-num: AS15169\nas-name: TEST-AS\n";
const std::string kRipeAsRecord = "aut-num: AS15169\r\nas-name: TEST-AS\r\n";
const Ipv6Address kGoogleDns6 = {0x20, 0x01, 0x48, 0x60, 0x48, 0x60, 0,    0,
                                 0,    0,    0,    0,    0,    0,    0x88, 0x88};
const Ipv6Address kDocumentation6 = {0x20, 0x01, 0x0d, 0xb8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
const Ipv6Address kLoopback6 = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};

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
    sockets.AddServer(kIana);
    sockets.SetDefaultReply(kIana, kIanaReply);
    sockets.AddReverseName6(kGoogleDns6, "dns.google");
    sockets.AddReverseName6(kLoopback6, "localhost");
    sockets.AddHostName6("ipv6.example.test", {kGoogleDns6, kDocumentation6});
    sockets.AddHostName6("both.example.test", {kGoogleDns6});
    sockets.AddHostName("both.example.test", {{1, 2, 3, 4}});
    sockets.SetReply(kIana, "AS15169", kIanaAsReferral);
    sockets.AddServer(kRipe);
    sockets.SetReply(kRipe, "AS15169", kRipeAsReply);
    // International names, which the resolver knows by their ASCII form.
    sockets.AddHostName("xn--bcher-kva.example.test", {{5, 6, 7, 8}});
    sockets.AddHostName("xn--r8jz45g.xn--zckzah", {{9, 8, 7, 6}});
    sockets.AddHostName("xn--and-6ma2c.example.test", {});
    sockets.AddHostName6("xn--and-6ma2c.example.test", {kGoogleDns6});
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

// A window's message loop: tasks posted from any thread, run on the test's thread.
class WindowLoop {
public:
    CLocateWorker::PostToWindow Poster() {
        return [this](std::function<void()> task) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_tasks.push_back(std::move(task));
            m_posted.notify_all();
        };
    }

    // Runs posted tasks until `done` holds; false after a time that only catches a hang.
    bool RunUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!done()) {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (!m_posted.wait_until(lock, deadline, [this] { return !m_tasks.empty(); })) {
                return false;
            }
            std::function<void()> task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task();
        }
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_tasks;
};

// Off the window's thread, the view sees exactly what the command shows on one thread, and the
// window is told the same outcome once the command has finished.
TEST_P(LocateCommandTest, WorkerShowsWhatTheCommandShowsOnOneThread) {
    FakeSocketLibrary oneThreadSockets;
    ScriptNetwork(oneThreadSockets);
    RecordingView oneThreadView(GetParam().typed);
    CLocateCommand(oneThreadView, oneThreadSockets).OnLocate();

    FakeSocketLibrary sockets;
    ScriptNetwork(sockets);
    RecordingView view(GetParam().typed);
    WindowLoop loop;
    std::vector<LocateOutcome> finished;
    CLocateWorker worker(view, sockets, loop.Poster(),
                         [&](LocateOutcome outcome) { finished.push_back(outcome); });
    worker.Locate();
    ASSERT_TRUE(loop.RunUntil([&] { return !worker.IsBusy(); }));

    EXPECT_EQ(view.log, oneThreadView.log);
    EXPECT_EQ(sockets.Requests(), oneThreadSockets.Requests());
    EXPECT_EQ(finished, std::vector<LocateOutcome>{GetParam().expectedOutcome});
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
        LocateCase{"SurroundingBlanksAreDropped",
                   " \t1.1.1.1 \r\n",
                   "Name:    one.one.one.one\r\nAddress: 1.1.1.1\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.1.1.1"}},
        LocateCase{"OnlyBlanksAreNoDestination",
                   " \t\r\n ",
                   "Ready.",
                   LocateOutcome::EmptyDestination,
                   {"Please type destination address."},
                   {}},
        LocateCase{"InnerBlanksStay",
                   "1.1. 1.1",
                   "Ready.",
                   LocateOutcome::Unresolved,
                   {kResolveFailed},
                   {}},
        LocateCase{"Ipv6WithReverseName",
                   "2001:4860:4860::8888",
                   "Name:    dns.google\r\nAddress: 2001:4860:4860::8888\r\n\r\n" + kIanaRecord,
                   LocateOutcome::Answered,
                   {},
                   {"2001:4860:4860::8888"}},
        LocateCase{"Ipv6ShownAndAskedInCanonicalText",
                   "2001:0DB8:0:0:0:0:0:1",
                   "Name:    2001:db8::1\r\nAddress: 2001:db8::1\r\n\r\n" + kIanaRecord,
                   LocateOutcome::Answered,
                   {},
                   {"2001:db8::1"}},
        LocateCase{"Ipv6Loopback",
                   "::1",
                   "Name:    localhost\r\nAddress: ::1\r\n\r\n"
                   "This is a loopback address for this local computer.",
                   LocateOutcome::Answered,
                   {},
                   {}},
        LocateCase{"Ipv6LinkLocal",
                   "FE80::1",
                   "Name:    fe80::1\r\nAddress: fe80::1\r\n\r\nThis is a private IP address.",
                   LocateOutcome::Answered,
                   {},
                   {}},
        LocateCase{"Ipv4MappedIsTheDottedAddress",
                   "::ffff:1.1.1.1",
                   "Name:    one.one.one.one\r\nAddress: 1.1.1.1\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.1.1.1"}},
        LocateCase{"ZoneIndexIsDropped",
                   "fe80::1%eth0",
                   "Name:    fe80::1\r\nAddress: fe80::1\r\n\r\nThis is a private IP address.",
                   LocateOutcome::Answered,
                   {},
                   {}},
        LocateCase{
            "HostNameWithOnlyIpv6Addresses",
            "ipv6.example.test",
            "Name:    ipv6.example.test\r\nAddress: 2001:4860:4860::8888\r\n\r\n" + kIanaRecord,
            LocateOutcome::Answered,
            {},
            {"2001:4860:4860::8888"}},
        LocateCase{"HostNameWithBothFamiliesIsIpv4",
                   "both.example.test",
                   "Name:    both.example.test\r\nAddress: 1.2.3.4\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.2.3.4"}},
        // An international name is shown as typed (UTF-8) and resolved by its ASCII form.
        LocateCase{"InternationalName",
                   u8"b\u00FCcher.example.test",
                   u8"Name:    b\u00FCcher.example.test\r\nAddress: 5.6.7.8\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"5.6.7.8"}},
        LocateCase{"InternationalNameInUpperCase",
                   u8"B\u00DCCHER.example.test",
                   u8"Name:    B\u00DCCHER.example.test\r\nAddress: 5.6.7.8\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"5.6.7.8"}},
        LocateCase{
            "JapaneseName",
            u8"\u4F8B\u3048.\u30C6\u30B9\u30C8",
            u8"Name:    \u4F8B\u3048.\u30C6\u30B9\u30C8\r\nAddress: 9.8.7.6\r\n\r\n" + kApnicRecord,
            LocateOutcome::Answered,
            {},
            {"9.8.7.6"}},
        LocateCase{
            "InternationalNameWithOnlyIpv6Addresses",
            u8"\u00F1and\u00FA.example.test",
            u8"Name:    \u00F1and\u00FA.example.test\r\nAddress: 2001:4860:4860::8888\r\n\r\n" +
                kIanaRecord,
            LocateOutcome::Answered,
            {},
            {"2001:4860:4860::8888"}},
        LocateCase{"InternationalNameIdnaRefuses",
                   u8"\uE000.example.test",  // a private-use character
                   "Ready.",
                   LocateOutcome::Unresolved,
                   {kResolveFailed},
                   {}},
        LocateCase{"HostNameNotUtf8",
                   "m\xFCnchen.example.test",  // Latin-1
                   "Ready.",
                   LocateOutcome::Unresolved,
                   {kResolveFailed},
                   {}}),
    testing::CaseName<LocateCase>);

// What users paste: the header names the destination as read, never the pasted text.
INSTANTIATE_TEST_SUITE_P(
    Pasted, LocateCommandTest,
    ::testing::Values(
        LocateCase{"UrlIsItsHost",
                   " https://user@www.example.test:8080/path?q=1#top\n",
                   "Name:    www.example.test\r\nAddress: 1.2.3.4\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.2.3.4"}},
        LocateCase{"InternationalNameInsideUrl",
                   u8"https://b\u00FCcher.example.test/",
                   u8"Name:    b\u00FCcher.example.test\r\nAddress: 5.6.7.8\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"5.6.7.8"}},
        LocateCase{"DefangedHostName",
                   "hxxps://www[.]example(DOT)test/",
                   "Name:    www.example.test\r\nAddress: 1.2.3.4\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.2.3.4"}},
        LocateCase{"AddressWithPort",
                   "1.1.1.1:443",
                   "Name:    one.one.one.one\r\nAddress: 1.1.1.1\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.1.1.1"}},
        LocateCase{"WrappedAddressWithoutNameShowsItAsRead",
                   "<\"9.9.9[.]9\">",
                   "Name:    9.9.9.9\r\nAddress: 9.9.9.9\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"9.9.9.9"}},
        LocateCase{"BracketedIpv6WithPort",
                   "[2001:4860:4860::8888]:443",
                   "Name:    dns.google\r\nAddress: 2001:4860:4860::8888\r\n\r\n" + kIanaRecord,
                   LocateOutcome::Answered,
                   {},
                   {"2001:4860:4860::8888"}},
        LocateCase{"MailHeaderIpv6Literal",
                   "[IPv6:2001:DB8::1]",
                   "Name:    2001:db8::1\r\nAddress: 2001:db8::1\r\n\r\n" + kIanaRecord,
                   LocateOutcome::Answered,
                   {},
                   {"2001:db8::1"}},
        LocateCase{"ZoneOnAGlobalAddressIsDropped",
                   "2001:4860:4860::8888%eth0",
                   "Name:    dns.google\r\nAddress: 2001:4860:4860::8888\r\n\r\n" + kIanaRecord,
                   LocateOutcome::Answered,
                   {},
                   {"2001:4860:4860::8888"}},
        LocateCase{"PortAbove65535IsNoPort",
                   "www.example.test:65536",
                   "Ready.",
                   LocateOutcome::Unresolved,
                   {kResolveFailed},
                   {}},
        LocateCase{"EmptyPairIsNoDestination",
                   "[ ]",
                   "Ready.",
                   LocateOutcome::EmptyDestination,
                   {"Please type destination address."},
                   {}},
        LocateCase{"AsNumberHasAOneLineHeader",
                   "as15169",
                   "AS number: AS15169\r\n\r\n" + kRipeAsRecord,
                   LocateOutcome::Answered,
                   {},
                   {"AS15169", "AS15169"}},
        LocateCase{"AsNumberWithoutRecord",
                   "AS64512",
                   "AS number: AS64512\r\n\r\nFailed to query.",
                   LocateOutcome::QueryFailed,
                   {},
                   {"AS64512"}},
        LocateCase{"PrefixIsItsOwnName",
                   "1.1.1.1/24",
                   "Name:    1.1.1.0/24\r\nAddress: 1.1.1.0/24\r\n\r\n" + kApnicRecord,
                   LocateOutcome::Answered,
                   {},
                   {"1.1.1.0/24"}},
        LocateCase{
            "PrivatePrefix",
            "10.0.0.0/8",
            "Name:    10.0.0.0/8\r\nAddress: 10.0.0.0/8\r\n\r\nThis is a private IP address.",
            LocateOutcome::Answered,
            {},
            {}},
        LocateCase{"Ipv6Prefix",
                   "2001:DB8::/32",
                   "Name:    2001:db8::/32\r\nAddress: 2001:db8::/32\r\n\r\n" + kIanaRecord,
                   LocateOutcome::Answered,
                   {},
                   {"2001:db8::/32"}}),
    testing::CaseName<LocateCase>);

struct AnswerCase {
    const char* name;
    std::string typed;
    LocateAnswer::Ending ending;
    DestinationKind kind;
    std::string headerName;
    std::string headerAddress;
    std::optional<Registry> registry;
    bool asRecord;
    std::string reply;  // the whole reply the record was cut from
};

void PrintTo(const AnswerCase& answerCase, std::ostream* out) {
    *out << answerCase.name;
}

class LocateCommandAnswer : public ::testing::TestWithParam<AnswerCase> {};

// What a command found, as a summary of many destinations reads it.
TEST_P(LocateCommandAnswer, TellsWhatTheCommandFound) {
    const AnswerCase& c = GetParam();
    FakeSocketLibrary sockets;
    ScriptNetwork(sockets);
    RecordingView view(c.typed);
    CLocateCommand command(view, sockets);

    command.OnLocate();

    const LocateAnswer& answer = command.Answer();
    EXPECT_EQ(answer.ending, c.ending);
    EXPECT_EQ(answer.kind, c.kind);
    EXPECT_EQ(answer.name, c.headerName);
    EXPECT_EQ(answer.address, c.headerAddress);
    EXPECT_EQ(answer.lookup.registry, c.registry);
    EXPECT_EQ(answer.lookup.asRecord, c.asRecord);
    EXPECT_EQ(answer.lookup.reply, c.reply);
    // The report is what the information box shows below the header.
    if (c.ending != LocateAnswer::Ending::Unresolved && c.ending != LocateAnswer::Ending::Empty) {
        const std::string& report = answer.lookup.report;
        EXPECT_EQ(view.information.substr(view.information.size() - report.size()), report);
    }
}

using Ending = LocateAnswer::Ending;

INSTANTIATE_TEST_SUITE_P(
    Kinds, LocateCommandAnswer,
    ::testing::Values(
        AnswerCase{"Address", "1.1.1.1", Ending::Record, DestinationKind::Address,
                   "one.one.one.one", "1.1.1.1", Registry::Apnic, false, kApnicReply},
        AnswerCase{"Ipv6Address", "2001:db8::1", Ending::Record, DestinationKind::Address,
                   "2001:db8::1", "2001:db8::1", Registry::Iana, false, kIanaReply},
        AnswerCase{"HostName", "www.example.test:80", Ending::Record, DestinationKind::HostName,
                   "www.example.test", "1.2.3.4", Registry::Apnic, false, kApnicReply},
        AnswerCase{"Prefix", "1.1.1.0/24", Ending::Record, DestinationKind::Prefix, "1.1.1.0/24",
                   "1.1.1.0/24", Registry::Apnic, false, kApnicReply},
        AnswerCase{"AsNumber", "AS15169", Ending::Record, DestinationKind::AsNumber, "AS15169",
                   "AS15169", Registry::RipeNcc, true, kRipeAsReply},
        AnswerCase{"Private", "10.1.1.1", Ending::Private, DestinationKind::Address, "10.1.1.1",
                   "10.1.1.1", std::nullopt, false, ""},
        AnswerCase{"Loopback", "loopback.example.test", Ending::Loopback, DestinationKind::HostName,
                   "loopback.example.test", "127.0.0.1", std::nullopt, false, ""},
        AnswerCase{"Failed", "AS64512", Ending::Failed, DestinationKind::AsNumber, "AS64512",
                   "AS64512", std::nullopt, false, ""},
        AnswerCase{"Unresolved", "nowhere.example.test", Ending::Unresolved,
                   DestinationKind::HostName, "", "", std::nullopt, false, ""},
        AnswerCase{"Empty", " <> ", Ending::Empty, DestinationKind::None, "", "", std::nullopt,
                   false, ""}),
    testing::CaseName<AnswerCase>);

// A resolver that could not be asked is no answer: the destination does not resolve, and a
// host name is not tried as IPv6 either.
TEST(LocateCommandResolver, ResolverFailingForAnotherReasonIsAResolveFailure) {
    for (const std::string typed :
         {"9.9.9.9", "2001:db8::1", "fe80::1", "ipv6.example.test", "both.example.test"}) {
        FakeSocketLibrary sockets;
        ScriptNetwork(sockets);
        sockets.SetReverseError(11002);
        sockets.SetForwardError(11002);
        RecordingView view(typed);

        EXPECT_EQ(CLocateCommand(view, sockets).OnLocate(), LocateOutcome::Unresolved) << typed;
        EXPECT_EQ(view.messages, std::vector<std::string>{kResolveFailed}) << typed;
        EXPECT_EQ(view.information, "Ready.") << typed;
        EXPECT_TRUE(sockets.Requests().empty()) << typed;
    }
}

// A prefix names a network and an AS number no host: neither is given to the resolver, which
// here cannot be asked at all.
TEST(LocateCommandResolver, PrefixesAndAsNumbersAskNoResolver) {
    for (const std::string typed : {"1.1.1.0/24", "2001:db8::/32", "AS15169"}) {
        FakeSocketLibrary sockets;
        ScriptNetwork(sockets);
        sockets.SetReverseError(11002);
        sockets.SetForwardError(11002);
        RecordingView view(typed);

        EXPECT_EQ(CLocateCommand(view, sockets).OnLocate(), LocateOutcome::Answered) << typed;
        EXPECT_TRUE(view.messages.empty()) << typed;
    }
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

// Whois servers that accept a query and then say nothing until the test releases them.
class SilentSockets : public FakeSocketLibrary {
public:
    int Recv(Socket socket, char* buffer, int length, std::chrono::milliseconds wait) override {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_waiting = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released || m_cancelled; });
        m_waiting = false;
        if (m_cancelled) {
            return -1;
        }
        lock.unlock();
        return FakeSocketLibrary::Recv(socket, buffer, length, wait);
    }
    void CancelWaits() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_cancelled = true;
        m_changed.notify_all();
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    bool WaitUntilWaiting() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, 10s, [this] { return m_waiting; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_waiting = false;
    bool m_released = false;
    bool m_cancelled = false;
};

const std::vector<std::string> kLockedLog = {"disable address", "disable locate", "wait begin",
                                             "text Querying...", "repaint"};

// A window whose Locate of 1.1.1.1 is waiting for APNIC's silent server.
class SilentLookup : public ::testing::Test {
protected:
    SilentLookup() {
        ScriptNetwork(sockets);
        worker.Locate();
    }
    SilentSockets sockets;
    RecordingView view{"1.1.1.1"};
    WindowLoop loop;
    CLocateWorker worker{view, sockets, loop.Poster()};
};

TEST_F(SilentLookup, WindowStaysLockedWhileTheServerIsSilentAndShowsTheAnswerAfter) {
    ASSERT_TRUE(sockets.WaitUntilWaiting());
    EXPECT_TRUE(worker.IsBusy());
    worker.Locate();  // a second Locate while one runs starts nothing
    EXPECT_EQ(view.log, kLockedLog);

    sockets.Release();
    ASSERT_TRUE(loop.RunUntil([&] { return !worker.IsBusy(); }));
    EXPECT_EQ(view.information,
              "Name:    one.one.one.one\r\nAddress: 1.1.1.1\r\n\r\n" + kApnicRecord);
    EXPECT_EQ(sockets.Requests().size(), 1U);
}

// Closing the window gives the lookup up: its wait ends at once and nothing more is shown.
TEST_F(SilentLookup, CancelEndsALookupWaitingForTheNetwork) {
    ASSERT_TRUE(sockets.WaitUntilWaiting());
    EXPECT_TRUE(worker.Cancel(10s));
    EXPECT_FALSE(worker.IsBusy());
    loop.RunUntil([] { return true; });
    EXPECT_EQ(view.log, kLockedLog);
    EXPECT_EQ(sockets.OpenSockets(), 0);
}

// A message box the lookup raises is shown on the window's thread, and the lookup waits for it;
// closing the window meanwhile releases the lookup.
TEST(LocateWorker, CancelReleasesALookupWaitingForAMessageBox) {
    FakeSocketLibrary sockets;
    sockets.AddReverseName({1, 1, 1, 1}, "one.one.one.one");  // APNIC's name does not resolve
    RecordingView view("1.1.1.1");
    std::mutex mutex;
    std::condition_variable posted;
    std::vector<std::function<void()>> tasks;
    CLocateWorker worker(view, sockets, [&](std::function<void()> task) {
        std::lock_guard<std::mutex> lock(mutex);
        tasks.push_back(std::move(task));
        posted.notify_all();
    });

    worker.Locate();
    {
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(posted.wait_for(lock, 10s, [&] { return !tasks.empty(); }));
    }
    EXPECT_TRUE(worker.Cancel(10s));
    for (const auto& task : tasks) {
        task();  // the window's loop runs what was posted: the box is not shown any more
    }
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.log, kLockedLog);
}

}  // namespace
}  // namespace quorvel
