// The replies the benchmarks read: captured and written registry replies from the test data,
// and large synthetic replies built from lines a scanner walks without ending its scan.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "TestData.h"

namespace quorvel::bench {

// A captured reply from tests/data/replies, or a written one from tests/data/written, byte for
// byte.
using testing::ReadReply;
using testing::ReadWritten;

// The bytes of a reply written for the benchmarks (bench/data), exactly as stored.
std::string ReadBenchReply(const std::string& name);

// `lines` repeated until the text holds at least `size` bytes, then `tail` appended: a scanner
// that never stops in `lines` walks the whole filler before it reaches the record in `tail`.
std::string RepeatToSize(std::string_view lines, std::size_t size, std::string_view tail);

// Lines of plain text that hold none of the `excluded` characters (a scanner's keys and the
// comment mark), each ended by `lineEnd`: the walk meets nothing to act on and goes byte by
// byte, the slowest it can go.
std::string PlainTextLines(std::string_view excluded, std::string_view lineEnd);

constexpr std::size_t kOneMiB = 1024 * 1024;

}  // namespace quorvel::bench
