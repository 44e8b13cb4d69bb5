// How much heap the process holds at most: every operator new of this test program is counted,
// so a case can tell how far a hostile reply made the lookup's memory grow.
#pragma once

#include <cstddef>

namespace quorvel::testing {

// Starts a new measurement: the high-water mark falls back to what is held now.
void ResetHeapHighWater();
// Bytes held at most since the last reset, above what was held at the reset.
std::size_t HeapGrowthSinceReset();

}  // namespace quorvel::testing
