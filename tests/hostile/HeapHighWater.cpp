// Replaces the global operator new and delete of the hostile-server tests with counting ones.
// Each block carries its size in a header in front of it, so delete knows what it gives back.
#include "HeapHighWater.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace quorvel::testing {
namespace {

std::atomic<std::size_t> g_held{0};
std::atomic<std::size_t> g_highWater{0};
std::atomic<std::size_t> g_baseline{0};

// Keeps the blocks aligned for any type: the header is as large as the strictest alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    *static_cast<std::size_t*>(block) = size;
    const std::size_t held = g_held.fetch_add(size) + size;
    std::size_t high = g_highWater.load();
    while (held > high && !g_highWater.compare_exchange_weak(high, held)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void Release(void* pointer) {
    if (pointer == nullptr) {
        return;
    }
    void* block = static_cast<char*>(pointer) - kHeader;
    g_held.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}

}  // namespace

void ResetHeapHighWater() {
    g_baseline = g_held.load();
    g_highWater = g_baseline.load();
}

std::size_t HeapGrowthSinceReset() {
    return g_highWater.load() - g_baseline.load();
}

}  // namespace quorvel::testing

void* operator new(std::size_t size) {
    return quorvel::testing::Allocate(size);
}
void* operator new[](std::size_t size) {
    return quorvel::testing::Allocate(size);
}
void operator delete(void* pointer) noexcept {
    quorvel::testing::Release(pointer);
}
void operator delete[](void* pointer) noexcept {
    quorvel::testing::Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    quorvel::testing::Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    quorvel::testing::Release(pointer);
}
