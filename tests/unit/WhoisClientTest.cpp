// The whois client: server selection, the request line, and reading replies over real loopback
// TCP connections, including servers that misbehave.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

#include "FakeSocketLibrary.h"
#include "LoopbackSocketLibrary.h"
#include "LoopbackWhoisServer.h"
#include "PlatformErrors.h"
#include "RecordingFeedback.h"
#include "WhoisClient.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using testing::FakeSocketLibrary;
using testing::LoopbackSocketLibrary;
using testing::LoopbackWhoisServer;
using testing::RecordingFeedback;
using testing::ServerBehaviour;

const std::string kServer = "whois.example.test";

// The platform's codes for the failures the socket library reports.
#ifdef _WIN32
constexpr int kConnectionReset = 10054;    // WSAECONNRESET
constexpr int kConnectionRefused = 10061;  // WSAECONNREFUSED
#else
constexpr int kConnectionReset = ECONNRESET;
constexpr int kConnectionRefused = ECONNREFUSED;
#endif

// True when the Windows program runs under wine rather than on Windows.
bool RunsUnderWine() {
#ifdef _WIN32
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

bool IsFailureLine(const std::string& reply) {
    return reply.rfind("FAILED", 0) == 0;
}

TEST(WhoisClientServer, SameNameTwiceIsResolvedOnce) {
    FakeSocketLibrary sockets;
    sockets.AddServer(kServer);
    RecordingFeedback feedback;
    CWhoisClient client(sockets, feedback);

    EXPECT_EQ(client.SetServer(kServer), 1);
    EXPECT_EQ(client.SetServer(kServer), 1);
    EXPECT_EQ(sockets.ResolvedNames(), std::vector<std::string>{kServer});
}

TEST(WhoisClientServer, FailedSelectionLeavesNoServerToAsk) {
    FakeSocketLibrary sockets;
    sockets.AddServer(kServer);
    sockets.SetDefaultReply(kServer, "record\n");
    RecordingFeedback feedback;
    CWhoisClient client(sockets, feedback);

    ASSERT_EQ(client.SetServer(kServer), 1);
    EXPECT_EQ(client.SetServer("unknown.example.test"), 0);
    EXPECT_EQ(feedback.messages, std::vector<std::string>{"Failed to resolve server!"});
    EXPECT_EQ(feedback.icons, std::vector<MessageIcon>{MessageIcon::None});

    // The earlier server's address must not be used for a name that did not resolve.
    EXPECT_TRUE(IsFailureLine(client.Query("1.2.3.4")));
    EXPECT_TRUE(sockets.Requests().empty());

    // Selecting the first server again resolves it anew and works.
    EXPECT_EQ(client.SetServer(kServer), 1);
    EXPECT_EQ(client.Query("1.2.3.4"), "record\n");
    EXPECT_EQ(sockets.ResolvedNames().size(), 3u);
}

TEST(WhoisClientServer, QueryBeforeAnySelectionFails) {
    FakeSocketLibrary sockets;
    RecordingFeedback feedback;
    CWhoisClient client(sockets, feedback);

    EXPECT_TRUE(IsFailureLine(client.Query("1.2.3.4")));
    EXPECT_EQ(sockets.OpenSockets(), 0);
}

struct QueryTextCase {
    const char* name;
    std::string queryText;
    bool sent;
};

void PrintTo(const QueryTextCase& queryTextCase, std::ostream* out) {
    *out << queryTextCase.name;
}

class WhoisClientQueryText : public ::testing::TestWithParam<QueryTextCase> {};

// A query becomes exactly one request line, or nothing is sent at all.
TEST_P(WhoisClientQueryText, IsSentAsOneLineOrRefused) {
    FakeSocketLibrary sockets;
    sockets.AddServer(kServer);
    RecordingFeedback feedback;
    CWhoisClient client(sockets, feedback);
    ASSERT_EQ(client.SetServer(kServer), 1);

    const std::string reply = client.Query(GetParam().queryText);

    if (GetParam().sent) {
        ASSERT_EQ(sockets.Requests().size(), 1u);
        EXPECT_EQ(sockets.Requests()[0].bytes, GetParam().queryText + " \r\n");
        EXPECT_FALSE(IsFailureLine(reply));
    } else {
        EXPECT_TRUE(sockets.Requests().empty());
        EXPECT_TRUE(IsFailureLine(reply));
    }
}

INSTANTIATE_TEST_SUITE_P(Requests, WhoisClientQueryText,
                         ::testing::Values(QueryTextCase{"Address", "192.0.2.1", true},
                                           QueryTextCase{"Handle", "NET-74-0-0-0-1", true},
                                           QueryTextCase{"Longest", std::string(508, 'h'), true},
                                           QueryTextCase{"TooLong", std::string(509, 'h'), false},
                                           QueryTextCase{"CarriageReturn", "NET-1\rX", false},
                                           QueryTextCase{"LineFeed", "NET-1\nX", false},
                                           QueryTextCase{"Nul", std::string("NET-1\0X", 7), false},
                                           QueryTextCase{"OtherControl", "NET-1\x01X", false},
                                           QueryTextCase{"Delete", "NET-1\x7FX", false},
                                           QueryTextCase{"Latin1Letters", "caf\xE9", true}),
                         testing::CaseName<QueryTextCase>);

struct FailureCase {
    const char* name;
    FakeSocketLibrary::Failure failure;
    int code;
    std::string expected;
};

void PrintTo(const FailureCase& failureCase, std::ostream* out) {
    *out << failureCase.name;
}

class WhoisClientFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WhoisClientFailure, NamesTheCallAndItsErrorAndClosesTheSocket) {
    FakeSocketLibrary sockets;
    sockets.AddServer(kServer);
    sockets.SetDefaultReply(kServer, "dropped when reading fails");
    sockets.SetFailure(kServer, GetParam().failure, GetParam().code);
    RecordingFeedback feedback;
    CWhoisClient client(sockets, feedback);
    ASSERT_EQ(client.SetServer(kServer), 1);

    EXPECT_EQ(client.Query("1.2.3.4"), GetParam().expected);
    EXPECT_EQ(sockets.OpenSockets(), 0);
}

INSTANTIATE_TEST_SUITE_P(Exchange, WhoisClientFailure,
                         ::testing::Values(FailureCase{"Connect",
                                                       FakeSocketLibrary::Failure::Connect, 10061,
                                                       "FAILED - connect() failed: 10061."},
                                           FailureCase{"Send", FakeSocketLibrary::Failure::Send,
                                                       10054, "FAILED - send() failed: 10054."},
                                           FailureCase{"Recv", FakeSocketLibrary::Failure::Recv,
                                                       10054, "FAILED - recv() failed: 10054."}),
                         testing::CaseName<FailureCase>);

// Real TCP on loopback: a server thread per test, reached through the platform's socket
// library with the registry name pointed at it.
class WhoisClientLoopback : public ::testing::Test {
protected:
    std::string Ask(const ServerBehaviour& behaviour, const std::string& query = "192.0.2.1") {
        m_server = std::make_unique<LoopbackWhoisServer>(behaviour);
        m_sockets.Route(kServer, m_server->Port());
        return AskRouted(query);
    }

    std::string AskRouted(const std::string& query) {
        CWhoisClient client(m_sockets, m_feedback);
        EXPECT_EQ(client.SetServer(kServer), 1);
        return client.Query(query);
    }

    static std::string FailedRecv(int code) {
        return "FAILED - recv() failed: " + std::to_string(code) + ".";
    }

    LoopbackSocketLibrary m_sockets;
    RecordingFeedback m_feedback;
    std::unique_ptr<LoopbackWhoisServer> m_server;
};

TEST_F(WhoisClientLoopback, SendsTheQueryLineAndReadsManySmallChunksInOrder) {
    std::string reply;
    for (int line = 0; line < 60; ++line) {
        reply += "remarks:        line " + std::to_string(line) + "\n";
    }
    ServerBehaviour behaviour;
    behaviour.reply = reply;
    behaviour.chunkSize = 7;
    behaviour.chunkDelay = milliseconds(1);

    EXPECT_EQ(Ask(behaviour, "203.0.113.9"), reply);
    EXPECT_EQ(m_server->Requests(), std::vector<std::string>{"203.0.113.9 \r\n"});
}

TEST_F(WhoisClientLoopback, ServerClosingWithoutAWordGivesAnEmptyReply) {
    EXPECT_EQ(Ask(ServerBehaviour{}), "");
}

TEST_F(WhoisClientLoopback, NulByteEndsItsChunksContribution) {
    ServerBehaviour behaviour;
    behaviour.reply = std::string(50, 'A') + '\0' + std::string(49, 'B') + std::string(100, 'C');
    behaviour.chunkSize = 100;
    behaviour.chunkDelay = milliseconds(100);  // one chunk per read

    EXPECT_EQ(Ask(behaviour), std::string(50, 'A') + std::string(100, 'C'));
}

TEST_F(WhoisClientLoopback, ResetAfterPartOfTheReplyDropsWhatArrived) {
    if (RunsUnderWine()) {
        GTEST_SKIP() << "wine's recv() returns the data and then 0 after the peer's reset, where "
                        "Windows reports the reset";
    }
    ServerBehaviour behaviour;
    behaviour.mode = ServerBehaviour::Mode::ResetMidReply;
    behaviour.reply = "inetnum: 192.0.2.0 - 192.0.2.255\n";

    EXPECT_EQ(Ask(behaviour), FailedRecv(kConnectionReset));
}

TEST_F(WhoisClientLoopback, RefusedConnectionIsAConnectFailure) {
    m_sockets.Route(kServer, LoopbackWhoisServer::UnusedPort());
    EXPECT_EQ(AskRouted("192.0.2.1"),
              "FAILED - connect() failed: " + std::to_string(kConnectionRefused) + ".");
}

TEST_F(WhoisClientLoopback, SilentServerTimesOut) {
    ExchangeLimits limits;
    limits.dataWait = milliseconds(200);
    m_sockets.SetLimits(limits);
    ServerBehaviour behaviour;
    behaviour.mode = ServerBehaviour::Mode::Silent;

    EXPECT_EQ(Ask(behaviour), FailedRecv(kErrorTimedOut));
}

TEST_F(WhoisClientLoopback, DrippingServerCannotOutlastTheWholeExchange) {
    ExchangeLimits limits;
    limits.dataWait = milliseconds(2000);
    limits.wholeExchange = milliseconds(300);
    m_sockets.SetLimits(limits);
    ServerBehaviour behaviour;
    behaviour.reply = std::string(1000, 'x');
    behaviour.chunkSize = 1;
    behaviour.chunkDelay = milliseconds(20);

    EXPECT_EQ(Ask(behaviour), FailedRecv(kErrorTimedOut));
}

TEST_F(WhoisClientLoopback, EndlessReplyStopsAtTheCap) {
    ServerBehaviour behaviour;
    behaviour.mode = ServerBehaviour::Mode::Endless;
    behaviour.reply = std::string(64 * 1024, 'z');

    EXPECT_EQ(Ask(behaviour), FailedRecv(kErrorReplyTooLong));
}

TEST_F(WhoisClientLoopback, ReplyOfExactlyTheCapIsWhole) {
    ServerBehaviour behaviour;
    behaviour.reply = std::string(ExchangeLimits{}.maxReplyBytes, 'r');

    EXPECT_EQ(Ask(behaviour).size(), ExchangeLimits{}.maxReplyBytes);
}

}  // namespace
}  // namespace quorvel
