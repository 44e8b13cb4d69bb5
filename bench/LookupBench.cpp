// A whole LookupAddress over the in-memory socket library: what the program itself adds to a
// lookup when the network costs nothing. Each iteration is one Locate command's client, new,
// so every registry's server name is resolved again as it would be.
#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchData.h"
#include "FakeSocketLibrary.h"
#include "Lookup.h"
#include "LookupFeedback.h"

namespace quorvel::bench {
namespace {

using testing::FakeSocketLibrary;

class SilentFeedback : public ILookupFeedback {
public:
    void ShowMessageBox(const std::string& text, MessageIcon) override {
        throw std::runtime_error("unexpected message box: " + text);
    }
};

struct ScriptedReply {
    const char* host;
    std::string bytes;
};

struct Chain {
    const char* address;
    std::vector<ScriptedReply> replies;  // in the order the lookup asks
};

// The fake records every request; a fresh one every batch keeps that record from growing.
std::unique_ptr<FakeSocketLibrary> ScriptedSockets(const Chain& chain) {
    auto sockets = std::make_unique<FakeSocketLibrary>();
    for (const ScriptedReply& reply : chain.replies) {
        sockets->SetDefaultReply(reply.host, reply.bytes);
    }
    return sockets;
}

// A successful lookup asks exactly the chain's registries and returns a record.
std::optional<std::string> WhyNotTheChain(const Chain& chain) {
    auto sockets = ScriptedSockets(chain);
    SilentFeedback feedback;
    CWhoisClient client(*sockets, feedback);
    const LookupAnswer answer = LookupAddress(client, chain.address);
    if (answer.Found() != 1) {
        return "the lookup ended without a record: " + answer.report;
    }
    const auto& requests = sockets->Requests();
    if (requests.size() != chain.replies.size()) {
        return "the lookup made " + std::to_string(requests.size()) + " exchanges, not " +
               std::to_string(chain.replies.size());
    }
    for (std::size_t i = 0; i < requests.size(); ++i) {
        if (requests[i].serverHost != chain.replies[i].host) {
            return "exchange " + std::to_string(i + 1) + " asked " + requests[i].serverHost;
        }
    }
    return std::nullopt;
}

void LookUp(benchmark::State& state, const Chain& chain) {
    if (const auto problem = WhyNotTheChain(chain)) {
        state.SkipWithError(problem->c_str());
        return;
    }
    constexpr std::int64_t kBatch = 1024;
    SilentFeedback feedback;
    auto sockets = ScriptedSockets(chain);
    std::int64_t inBatch = 0;
    for (auto _ : state) {
        if (++inBatch == kBatch) {
            state.PauseTiming();
            sockets = ScriptedSockets(chain);
            inBatch = 0;
            state.ResumeTiming();
        }
        CWhoisClient client(*sockets, feedback);
        LookupAnswer answer = LookupAddress(client, chain.address);
        benchmark::DoNotOptimize(answer);
    }
    state.counters["exchanges"] = static_cast<double>(chain.replies.size());
}

// One exchange: APNIC holds the record.
void BM_LookupAddress_Apnic(benchmark::State& state) {
    static const Chain chain{
        "1.1.1.1", {{"whois.apnic.net", ReadReply("whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt")}}};
    LookUp(state, chain);
}
BENCHMARK(BM_LookupAddress_Apnic);

// APNIC names an IANA block, ARIN names RIPE NCC, RIPE NCC names IANA-BLK, LACNIC has the
// record (with its owner, so shown up to its "% whois" notes).
void BM_LookupAddress_ApnicArinRipeLacnic(benchmark::State& state) {
    static const Chain chain{
        "74.1.2.3",
        {{"whois.apnic.net", ReadWritten("whois.apnic.net/iana-block_placeholder.txt")},
         {"whois.arin.net", ReadWritten("whois.arin.net/old-layout_orgid-ripe_128.79.x.txt")},
         {"whois.ripe.net", ReadWritten("whois.ripe.net/iana-blk_200.x.txt")},
         {"whois.lacnic.net",
          ReadReply("whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt")}}};
    LookUp(state, chain);
}
BENCHMARK(BM_LookupAddress_ApnicArinRipeLacnic);

// All five: an IANA block that ends in "-TW" in TWNIC's band adds TWNIC's record on the way.
void BM_LookupAddress_AllFiveRegistries(benchmark::State& state) {
    static const Chain chain{
        "61.1.2.3",
        {{"whois.apnic.net", ReadBenchReply("apnic-iana-netblock-tw.txt")},
         {"whois.twnic.net.tw", ReadWritten("whois.twnic.net.tw/hinet_203.69.x.txt")},
         {"whois.arin.net", ReadWritten("whois.arin.net/old-layout_orgid-ripe_128.79.x.txt")},
         {"whois.ripe.net", ReadWritten("whois.ripe.net/iana-blk_200.x.txt")},
         {"whois.lacnic.net",
          ReadReply("whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt")}}};
    LookUp(state, chain);
}
BENCHMARK(BM_LookupAddress_AllFiveRegistries);

}  // namespace
}  // namespace quorvel::bench
