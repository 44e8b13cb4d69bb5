// Whois servers that misbehave, reached over real loopback TCP by the whole registry lookup:
// servers that never write, drip, stream forever or reset, and replies shaped to hurt a reader
// (empty, chunk-sized, NULs, megabyte lines, no line ends, endless comments, huge network names
// and match-list handles). Every case must end in a record or in "Failed to query.", within
// the client's limits, with the heap bounded. Each case prints its outcome, time and heap growth.
//
// The client's waits are shortened so that the suite stays quick; with
// QUORVEL_HOSTILE_REAL_LIMITS=1 in the environment the cases run with the program's own limits
// (connect 10 s, each wait 30 s, whole exchange 60 s), which takes several minutes.
#include <gtest/gtest.h>

#include "CaseName.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "HeapHighWater.h"
#include "Lookup.h"
#include "LookupFeedback.h"
#include "LoopbackSocketLibrary.h"
#include "LoopbackWhoisServer.h"
#include "Registries.h"
#include "TestData.h"

namespace quorvel {
namespace {

using std::chrono::milliseconds;
using testing::LoopbackSocketLibrary;
using testing::LoopbackWhoisServer;
using testing::ServerBehaviour;
using testing::WithCrLf;
using Mode = ServerBehaviour::Mode;

const std::string kAddress = "192.0.2.1";
const std::string kFailed = "Failed to query.";

// The exchange limits a run uses, and how slowly the dripping server drips under them: well
// inside each data wait, so that only the whole exchange's limit can end it.
struct Timing {
    ExchangeLimits limits;
    milliseconds dripInterval;
};

Timing TimingForThisRun() {
    const char* real = std::getenv("QUORVEL_HOSTILE_REAL_LIMITS");
    if (real != nullptr && std::string(real) == "1") {
        return {ExchangeLimits{}, milliseconds(3000)};
    }
    ExchangeLimits shortened;
    shortened.connectWait = milliseconds(1000);
    shortened.dataWait = milliseconds(1000);
    shortened.wholeExchange = milliseconds(3000);
    return {shortened, milliseconds(300)};
}

const Timing kTiming = TimingForThisRun();

// The heap a lookup may take on top of what it held before, whatever arrives: a reply at the
// 1 MiB cap is held a few times over (the reply, the record, its CR LF form and the report).
constexpr std::size_t kHeapBound = 16 * ExchangeLimits{}.maxReplyBytes;

ServerBehaviour Replying(std::string reply, std::size_t chunkSize = 4096,
                         milliseconds chunkDelay = milliseconds(0)) {
    ServerBehaviour behaviour;
    behaviour.reply = std::move(reply);
    behaviour.chunkSize = chunkSize;
    behaviour.chunkDelay = chunkDelay;
    return behaviour;
}

ServerBehaviour Misbehaving(Mode mode, std::string reply = {}) {
    ServerBehaviour behaviour = Replying(std::move(reply));
    behaviour.mode = mode;
    return behaviour;
}

// An APNIC record whose network name is its own: the lookup ends with it.
std::string ApnicRecord(const std::string& netName = "EXAMPLE-NET") {
    return "inetnum:        192.0.2.0 - 192.0.2.255\nnetname:        " + netName +
           "\ncountry:        AU\n";
}

// Pads a record to exactly `size` bytes with a remarks line before it.
std::string RecordOfSize(std::size_t size) {
    const std::string record = ApnicRecord();
    const std::string head = "remarks: ";
    return head + std::string(size - head.size() - record.size() - 1, 'r') + "\n" + record;
}

const std::string kToArin = ApnicRecord("ARIN-CIDR-BLOCK");

std::string MatchList(const std::string& handle) {
    return "Example Networks EXAMPLE-1 (" + handle + ") 192.0.2.0 - 192.0.2.255\n";
}

using ReportCheck = std::function<void(const std::string& report)>;

struct HostileCase {
    const char* name;
    ServerBehaviour apnic;
    std::optional<ServerBehaviour> arin;         // reached when APNIC names ARIN-CIDR-BLOCK
    int expectedResult;                          // 1: a registry record; 0: "Failed to query."
    ReportCheck checkReport;                     // what the record must hold, when it matters
    std::vector<std::string> arinRequests = {};  // the request lines ARIN must get
};

void PrintTo(const HostileCase& hostileCase, std::ostream* out) {
    *out << hostileCase.name;
}

ReportCheck ReportIs(std::string expected) {
    return [expected](const std::string& report) { EXPECT_EQ(report, expected); };
}

std::vector<HostileCase> Cases() {
    std::string megabyteLine = ApnicRecord();
    megabyteLine.insert(megabyteLine.find("netname"),
                        "remarks: " + std::string(1'000'000, 'w') + "\n");
    const std::string longNetName(10'000, 'N');
    const std::string exactly100 = RecordOfSize(100);
    const std::string exactly101 = RecordOfSize(101);
    std::string withNuls = ApnicRecord();
    withNuls.insert(withNuls.find("netname"), std::string("\0\0junk\n", 7));
    return {
        {"AcceptsAndNeverWrites", Misbehaving(Mode::Silent), {}, 0, ReportIs(kFailed)},
        {"DripsOneByteAtATime",
         Replying(ApnicRecord() + std::string(400, 'd'), 1, kTiming.dripInterval),
         {},
         0,
         ReportIs(kFailed)},
        {"StreamsForever",
         Misbehaving(Mode::Endless, std::string(64 * 1024, 's')),
         {},
         0,
         ReportIs(kFailed)},
        {"ResetsMidReply",
         Misbehaving(Mode::ResetMidReply, ApnicRecord()),
         {},
         0,
         ReportIs(kFailed)},
        {"ZeroBytes", Replying(""), {}, 1, ReportIs("")},
        {"Exactly100Bytes",
         Replying(exactly100),
         {},
         1,
         ReportIs(WithCrLf(exactly100.substr(exactly100.find("inetnum"))))},
        {"Exactly101Bytes",
         Replying(exactly101, 101),
         {},
         1,
         ReportIs(WithCrLf(exactly101.substr(exactly101.find("inetnum"))))},
        // A NUL ends what its chunk adds: the rest of that 100-byte read is lost.
        {"NulBytes",
         Replying(withNuls, 100),
         {},
         1,
         [](const std::string& report) {
             EXPECT_EQ(report.rfind("inetnum:", 0), 0u);
             EXPECT_EQ(report.find('\0'), std::string::npos);
         }},
        {"LineOfOneMegabyte", Replying(megabyteLine), {}, 1, ReportIs(WithCrLf(megabyteLine))},
        {"NoLineEndsAtAll",
         Replying("inetnum: " + std::string(200'000, 'x')),
         {},
         1,
         ReportIs("inetnum: " + std::string(200'000, 'x'))},
        {"CommentLineThatNeverEnds",
         Replying("% " + std::string(500'000, 'c')),
         {},
         1,
         ReportIs("")},
        {"NetNameOf10000Characters",
         Replying(ApnicRecord(longNetName)),
         {},
         1,
         ReportIs(WithCrLf(ApnicRecord(longNetName)))},
        // A handle holding CR LF would smuggle a second request line: it is never sent.
        {"MatchListHandleWithCrLf",
         Replying(kToArin),
         Replying(MatchList("NET-192-0\r\n-2-0-1")),
         0,
         ReportIs(kFailed),
         {kAddress + " \r\n"}},
        // A 5,000-character handle is cut to 51 and asked for; ARIN's answer (the same list)
        // has no record of its own, so APNIC's record is shown.
        {"MatchListHandleOf5000Characters",
         Replying(kToArin),
         Replying(MatchList(std::string(5'000, 'H'))),
         1,
         ReportIs(WithCrLf(kToArin)),
         {kAddress + " \r\n", std::string(51, 'H') + " \r\n"}},
    };
}

class MessageBoxes : public ILookupFeedback {
public:
    void ShowMessageBox(const std::string& text, MessageIcon) override { messages += text; }
    std::string messages;
};

class HostileServer : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileServer, EndsInARecordOrAFailureWithinTheLimitsAndBoundedMemory) {
    const HostileCase& hostile = GetParam();
    LoopbackWhoisServer apnic(hostile.apnic);
    std::unique_ptr<LoopbackWhoisServer> arin;
    LoopbackSocketLibrary sockets;
    sockets.SetLimits(kTiming.limits);
    sockets.Route(std::string(ServerHost(Registry::Apnic)), apnic.Port());
    if (hostile.arin) {
        arin = std::make_unique<LoopbackWhoisServer>(*hostile.arin);
        sockets.Route(std::string(ServerHost(Registry::Arin)), arin->Port());
    }
    MessageBoxes feedback;
    std::string report;

    testing::ResetHeapHighWater();
    const auto started = std::chrono::steady_clock::now();
    int result = -1;
    {
        CWhoisClient client(sockets, feedback);
        LookupAnswer answer = LookupAddress(client, kAddress);
        result = answer.Found();
        report = std::move(answer.report);
    }
    const auto elapsed =
        std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - started);
    const std::size_t heapGrowth = testing::HeapGrowthSinceReset();

    std::printf("hostile case %-34s %-18s %6.2f s  heap +%.1f KiB\n", hostile.name,
                result == 1 ? "record" : report.c_str(),
                static_cast<double>(elapsed.count()) / 1000,
                static_cast<double>(heapGrowth) / 1024);
    EXPECT_EQ(result, hostile.expectedResult);
    if (hostile.checkReport) {
        hostile.checkReport(report);
    }
    EXPECT_EQ(feedback.messages, "");
    // At most two exchanges are made here (APNIC, ARIN's list and its handle); a hang-catcher.
    EXPECT_LT(elapsed, 3 * kTiming.limits.wholeExchange + milliseconds(2000));
    EXPECT_LT(heapGrowth, kHeapBound);
    if (arin) {
        EXPECT_EQ(arin->Requests(), hostile.arinRequests);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileServer, ::testing::ValuesIn(Cases()),
                         testing::CaseName<HostileCase>);

}  // namespace
}  // namespace quorvel
