// RIPE NCC reply scanner on arbitrary bytes.
#include "ScannerFuzz.h"
#include "Scanners.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return quorvel::fuzz::FuzzScanner(data, size, quorvel::ScanRipeReply, quorvel::kRipeRules);
}
