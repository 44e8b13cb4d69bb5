// Each registry's reply scanner over the captured replies, and over 1 MiB replies whose filler
// the scanner walks to the end before it meets the record: bytes per second of one scan.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "BenchData.h"
#include "Scanners.h"

namespace quorvel::bench {
namespace {

using Scanner = std::optional<std::size_t> (*)(std::string_view, ScanFields&);

struct ScannerCase {
    const char* registry;
    Scanner scan;
    // The scanner's key characters and the comment mark: plain filler holds none of them.
    const char* keys;
    const char* lineEnd;
    // Attribute lines as the registry sends them, none of which ends the scan.
    const char* recordLines;
    // The captured reply that ends each synthetic one, and the others scanned as they are.
    const char* tailReply;
    std::vector<const char*> capturedReplies;
};

const std::vector<ScannerCase>& ScannerCases() {
    static const std::vector<ScannerCase> cases = {
        {"Apnic",
         ScanApnicReply,
         "in%",
         "\n",
         "% Information related to '1.1.1.0 - 1.1.1.255'\n"
         "inetnum:        1.1.1.0 - 1.1.1.255\n"
         "descr:          APNIC Research\n"
         "admin-c:        AR302-AP\n"
         "tech-c:         AR302-AP\n"
         "status:         ASSIGNED PORTABLE\n"
         "source:         APNIC\n",
         "whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt",
         {"whois.apnic.net/ipv4-1.1.1.1_apnic-labs.txt",
          "whois.apnic.net/ipv4-110.8.x_skbroadband_krnic-mirror.txt",
          "whois.apnic.net/ipv4-210.107.73.73_boranet-kr.txt",
          "whois.apnic.net/ipv4-218.28.x_unicom-ha.txt"}},
        {"Arin",
         ScanArinReply,
         "OACSPN%",
         "\n",
         "# ARIN WHOIS data and services are subject to the Terms of Use\n"
         "NetRange:       74.125.0.0 - 74.125.255.255\n"
         "CIDR:           74.125.0.0/16\n"
         "Parent:         NET74 (NET-74-0-0-0-0)\n"
         "RegDate:        2007-03-13\n"
         "Address:        1600 Amphitheatre Parkway\n"
         "City:           Mountain View\n"
         "StateProv:      CA\n"
         "PostalCode:     94043\n"
         "Country:        US\n"
         "Comment:        Please note that the recommended way to file abuse complaints\n",
         "whois.arin.net/ipv4-74.125.225.229_google.txt",
         {"whois.arin.net/ipv4-130.66.76.222_ripe-erx_orgid-RIPE.txt",
          "whois.arin.net/ipv4-144.134.121.81_apnic-erx_orgid-APNIC.txt",
          "whois.arin.net/ipv4-20.x_microsoft_ws-trimmed.txt",
          "whois.arin.net/ipv4-4.2.2.1_level3.txt",
          "whois.arin.net/ipv4-52.1.217.30_amazon-at-88-z.txt",
          "whois.arin.net/ipv4-69.65.39.166_rwhois-referral.txt",
          "whois.arin.net/ipv4-74.125.225.229_google.txt",
          "whois.arin.net/ipv4-8.8.8.8_match-list.txt"}},
        {"Ripe",
         ScanRipeReply,
         "indca%",
         "\n",
         "% Information related to '128.79.0.0 - 128.79.63.255'\n"
         "inetnum:        128.79.0.0 - 128.79.63.255\n"
         "netname:        BOUYGTEL-ISP-CABLE\n"
         "descr:          Bouygues Telecom ISP cable\n"
         "country:        FR\n",
         "whois.ripe.net/ipv4-128.79.x_bouygtel-isp-cable.txt",
         {"whois.ripe.net/ipv4-128.79.x_bouygtel-isp-cable.txt",
          "whois.ripe.net/ipv4-185.1.1.x_pix-palestine-ix.txt",
          "whois.ripe.net/ipv4-62.239.237.1_bt-corporate.txt",
          "whois.ripe.net/ipv4-80.20.134.x_interbusiness_ws-collapsed.txt"}},
        {"Lacnic",
         ScanLacnicReply,
         "isoac%",
         "\r\n",
         "% Joint Whois - whois.lacnic.net\r\n"
         "inetnum:     200.57.128/20\r\n"
         "status:      allocated\r\n"
         "aut-num:     N/A\r\n"
         "owner:       Triara.com, S.A. de C.V.\r\n"
         "ownerid:     MX-TSCV6-LACNIC\r\n"
         "address:     Av. Revolucion, 1267, 3\r\n",
         "whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt",
         {"whois.lacnic.net/ipv4-200.57.141.161_triara-mx_crlf.txt",
          "whois.lacnic.net/ipv4-200.68.34.56_cl-reallocated.txt"}},
    };
    return cases;
}

void RunScans(benchmark::State& state, Scanner scan, const std::string& reply) {
    for (auto _ : state) {
        ScanFields fields;
        auto recordStart = scan(reply, fields);
        benchmark::DoNotOptimize(recordStart);
        benchmark::DoNotOptimize(fields);
    }
}

// A captured reply's scan may end early (APNIC's at the network name), so its rate is counted
// in replies, not bytes.
void ScanCaptured(benchmark::State& state, Scanner scan, const std::string& reply) {
    RunScans(state, scan, reply);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
    state.counters["reply_bytes"] = static_cast<double>(reply.size());
}

// A synthetic reply is walked to its end (checked below), so bytes per second is the walk's.
void ScanWhole(benchmark::State& state, Scanner scan, const std::string& reply) {
    RunScans(state, scan, reply);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(reply.size()));
}

// A synthetic reply measures the walk only if the filler did not end the scan early: the scan
// must capture what it captures from the tail alone, and find the tail's record start.
std::optional<std::string> WhyNotWalkedToTail(Scanner scan, const std::string& synthetic,
                                              const std::string& tail) {
    ScanFields fromTail;
    const auto tailStart = scan(tail, fromTail);
    ScanFields fromSynthetic;
    const auto syntheticStart = scan(synthetic, fromSynthetic);
    const std::size_t fillerSize = synthetic.size() - tail.size();
    if (fromSynthetic.netName != fromTail.netName || fromSynthetic.orgId != fromTail.orgId ||
        fromSynthetic.owner != fromTail.owner) {
        return "the filler changed what the scan captures";
    }
    if (tailStart && syntheticStart != fillerSize + *tailStart) {
        return "the scan did not reach the tail's record start";
    }
    return std::nullopt;
}

void RegisterSynthetic(const ScannerCase& scanner, const char* kind, std::string_view lines) {
    const std::string tail = ReadReply(scanner.tailReply);
    std::string reply = RepeatToSize(lines, kOneMiB - tail.size(), tail);
    const auto problem = WhyNotWalkedToTail(scanner.scan, reply, tail);
    const std::string name = std::string("Scan/") + scanner.registry + "/1MiB-" + kind;
    benchmark::RegisterBenchmark(
        name.c_str(), [scan = scanner.scan, reply = std::move(reply), problem](auto& state) {
            if (problem) {
                state.SkipWithError(problem->c_str());
                return;
            }
            ScanWhole(state, scan, reply);
        });
}

bool RegisterScannerBenchmarks() {
    for (const ScannerCase& scanner : ScannerCases()) {
        for (const char* file : scanner.capturedReplies) {
            const std::string_view path(file);
            const std::string name = std::string("Scan/") + scanner.registry + "/captured/" +
                                     std::string(path.substr(path.find('/') + 1));
            benchmark::RegisterBenchmark(
                name.c_str(), [scan = scanner.scan, reply = ReadReply(file)](auto& state) {
                    ScanCaptured(state, scan, reply);
                });
        }
        RegisterSynthetic(scanner, "record-lines", scanner.recordLines);
        RegisterSynthetic(scanner, "plain-text", PlainTextLines(scanner.keys, scanner.lineEnd));
    }
    return true;
}

const bool kScannerBenchmarksRegistered = RegisterScannerBenchmarks();

}  // namespace
}  // namespace quorvel::bench
