// The whois client: server selection, the request line, and reading replies over real loopback
// TCP connections, including servers that misbehave.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <cerrno>
#include <thread>

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

// The clients of a run of many lookups share their exchanges: each one, one after another, asks
// one server one query, and the servers see only what the run had not asked before.
struct SharedRunCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> asked;  // server, query
    std::vector<std::string> expectedReplies;
    std::vector<std::string> expectedRequests;  // "server query", as the servers received them
    std::vector<std::string> expectedRefusals;  // the servers the feedback was told refused
    std::size_t rememberedBytes = kRememberedReplyBytes;
};

void PrintTo(const SharedRunCase& sharedRunCase, std::ostream* out) {
    *out << sharedRunCase.name;
}

const std::string kRefused = "FAILED - the server refuses to answer.";

class WhoisClientSharedRun : public ::testing::TestWithParam<SharedRunCase> {};

TEST_P(WhoisClientSharedRun, AsksEachExchangeOnceAndNoServerThatRefused) {
    FakeSocketLibrary sockets;
    for (const char* server : {"a.test", "b.test"}) {
        sockets.SetReply(server, "1", std::string(server) + " one\n");
        sockets.SetReply(server, "2", std::string(server) + " two\n");
    }
    sockets.SetDefaultReply("refusing.test", "%ERROR:201: access denied\n");
    sockets.SetFailure("failing.test", FakeSocketLibrary::Failure::Recv, 10054);
    CSharedExchanges shared(
        2, [](std::string_view, std::string_view reply) { return reply.rfind("%ERROR", 0) == 0; },
        GetParam().rememberedBytes);
    RecordingFeedback feedback;

    std::vector<std::string> replies;
    for (const auto& [server, query] : GetParam().asked) {
        CWhoisClient client(sockets, feedback, &shared);
        ASSERT_EQ(client.SetServer(server), 1);
        replies.push_back(client.Query(query));
    }

    std::vector<std::string> requests;
    for (const FakeSocketLibrary::Request& request : sockets.Requests()) {
        requests.push_back(request.serverHost + " " +
                           request.bytes.substr(0, request.bytes.size() - 3));
    }
    EXPECT_EQ(replies, GetParam().expectedReplies);
    EXPECT_EQ(requests, GetParam().expectedRequests);
    EXPECT_EQ(feedback.exchanges, GetParam().expectedRequests);  // -v names only what is asked
    EXPECT_EQ(feedback.refusals, GetParam().expectedRefusals);
}

INSTANTIATE_TEST_SUITE_P(
    Exchanges, WhoisClientSharedRun,
    ::testing::Values(
        SharedRunCase{"SameExchangeMadeOnce",
                      {{"a.test", "1"}, {"a.test", "1"}},
                      {"a.test one\n", "a.test one\n"},
                      {"a.test 1"},
                      {}},
        SharedRunCase{"OtherQueryOrServerIsAsked",
                      {{"a.test", "1"}, {"a.test", "2"}, {"b.test", "1"}},
                      {"a.test one\n", "a.test two\n", "b.test one\n"},
                      {"a.test 1", "a.test 2", "b.test 1"},
                      {}},
        SharedRunCase{"RefusingServerIsNotAskedAgain",
                      {{"refusing.test", "1"}, {"refusing.test", "2"}, {"a.test", "1"}},
                      {kRefused, kRefused, "a.test one\n"},
                      {"refusing.test 1", "a.test 1"},
                      {"refusing.test", "refusing.test"}},
        SharedRunCase{"FailedExchangeIsNotMadeAgain",
                      {{"failing.test", "1"}, {"failing.test", "1"}},
                      {"FAILED - recv() failed: 10054.", "FAILED - recv() failed: 10054."},
                      {"failing.test 1"},
                      {}},
        // Room for one reply: the older one is forgotten and asked again.
        SharedRunCase{"OldestForgottenBeyondTheMemory",
                      {{"a.test", "1"}, {"a.test", "2"}, {"a.test", "2"}, {"a.test", "1"}},
                      {"a.test one\n", "a.test two\n", "a.test two\n", "a.test one\n"},
                      {"a.test 1", "a.test 2", "a.test 1"},
                      {},
                      20}),
    testing::CaseName<SharedRunCase>);

TEST(WhoisClientSharedRunThreads, SameExchangeAtOnceIsMadeOnceForAll) {
    FakeSocketLibrary sockets;
    sockets.SetReply(kServer, "1", "one\n");
    sockets.SetReplyDelay(kServer, "1", milliseconds(100));
    CSharedExchanges shared(2, nullptr);
    std::vector<std::string> replies(8);
    std::vector<std::thread> threads;
    for (std::string& reply : replies) {
        threads.emplace_back([&] {
            RecordingFeedback feedback;
            CWhoisClient client(sockets, feedback, &shared);
            client.SetServer(kServer);
            reply = client.Query("1");
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }

    EXPECT_EQ(replies, std::vector<std::string>(8, "one\n"));
    EXPECT_EQ(sockets.Requests().size(), 1u);
}

// The server counts its own open connections: the gate holds them at the run's limit.
TEST(WhoisClientSharedRunThreads, NoMoreExchangesAtOnceWithOneServerThanItsPlaces) {
    ServerBehaviour behaviour;
    behaviour.reply = "record\n";
    behaviour.chunkDelay = milliseconds(50);
    behaviour.concurrent = true;
    LoopbackWhoisServer server(behaviour);
    LoopbackSocketLibrary sockets;
    sockets.Route(kServer, server.Port());
    CSharedExchanges shared(2, nullptr);
    std::vector<std::thread> threads;
    for (int query = 0; query < 8; ++query) {
        threads.emplace_back([&, query] {
            RecordingFeedback feedback;
            CWhoisClient client(sockets, feedback, &shared);
            client.SetServer(kServer);
            EXPECT_EQ(client.Query("192.0.2." + std::to_string(query)), "record\n");
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }

    EXPECT_EQ(server.Requests().size(), 8u);
    EXPECT_EQ(server.MostOpenAtOnce(), 2);
}

TEST(WhoisClientSharedRunThreads, CancelEndsTheWaitForAPlace) {
    FakeSocketLibrary sockets;
    sockets.SetReply(kServer, "slow", "late\n");
    sockets.SetReplyDelay(kServer, "slow", milliseconds(60'000));
    CSharedExchanges shared(1, nullptr);
    std::string slowReply;
    std::string waitingReply;
    std::thread slow([&] {
        RecordingFeedback feedback;
        CWhoisClient client(sockets, feedback, &shared);
        client.SetServer(kServer);
        slowReply = client.Query("slow");
    });
    while (sockets.Requests().empty()) {
        std::this_thread::yield();
    }
    std::thread waiting([&] {
        RecordingFeedback feedback;
        CWhoisClient client(sockets, feedback, &shared);
        client.SetServer(kServer);
        waitingReply = client.Query("waits for the place");
    });
    std::this_thread::sleep_for(milliseconds(50));

    shared.Cancel();
    sockets.CancelWaits();
    slow.join();
    waiting.join();

    const std::string cancelled =
        "FAILED - connect() failed: " + std::to_string(kErrorCancelled) + ".";
    EXPECT_EQ(waitingReply, cancelled);
    EXPECT_EQ(slowReply, "FAILED - recv() failed: " + std::to_string(kErrorCancelled) + ".");
    EXPECT_EQ(sockets.Requests().size(), 1u);
}

}  // namespace
}  // namespace quorvel
