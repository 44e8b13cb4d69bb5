// The finding of addresses in text (quorvel-lookup --extract's reader) alone, over a file:
// its speed, for comparison with grep's on the same file (bench/batch_bench.py).
//
//   quorvel-extract-speed FILE
//
// Prints the bytes read, the seconds taken, the rate in MB/s (10^6 bytes a second), the
// distinct addresses found and their occurrences.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "AddressFinder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvel-extract-speed FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "quorvel-extract-speed: cannot read %s\n", argv[1]);
        return 2;
    }
    constexpr std::size_t kPiece = std::size_t{1} << 20;  // as quorvel-lookup reads
    std::vector<char> piece(kPiece);
    quorvel::CAddressFinder finder;
    std::size_t bytes = 0;
    const auto started = std::chrono::steady_clock::now();
    while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0) {
        const auto count = static_cast<std::size_t>(in.gcount());
        finder.Read(std::string_view(piece.data(), count));
        bytes += count;
    }
    finder.Finish();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::size_t occurrences = 0;
    for (const quorvel::FoundAddress& found : finder.Found()) {
        occurrences += found.count;
    }
    std::printf("%zu bytes %.3f s %.1f MB/s %zu addresses %zu occurrences\n", bytes, seconds,
                static_cast<double>(bytes) / seconds / 1e6, finder.Found().size(), occurrences);
    return 0;
}
