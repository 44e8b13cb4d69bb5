// The record ending's line-end conversion: every line feed of the record shown as CR LF.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchData.h"
#include "ByteText.h"

namespace quorvel::bench {
namespace {

void ConvertLineEnds(benchmark::State& state, const std::string& record) {
    for (auto _ : state) {
        std::string shown = ReplaceAll(record, "\n", "\r\n");
        benchmark::DoNotOptimize(shown);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(record.size()));
}

// ARIN's record, as long as the captured ones come.
void BM_CrLf_CapturedRecord(benchmark::State& state) {
    static const std::string record = ReadReply("whois.arin.net/ipv4-74.125.225.229_google.txt");
    ConvertLineEnds(state, record);
}
BENCHMARK(BM_CrLf_CapturedRecord);

// The largest record a reply can bring: 1 MiB of RIPE NCC lines.
void BM_CrLf_1MiBRecord(benchmark::State& state) {
    static const std::string record =
        RepeatToSize(ReadReply("whois.ripe.net/ipv4-128.79.x_bouygtel-isp-cable.txt"), kOneMiB, "");
    ConvertLineEnds(state, record);
}
BENCHMARK(BM_CrLf_1MiBRecord);

}  // namespace
}  // namespace quorvel::bench
