// A socket wait that a closing program can end at once: the wait is made in short slices, and
// the cancel flag is looked at between them. Both platforms' socket libraries wait this way.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>

#include "PlatformErrors.h"

namespace quorvel {

enum class WaitResult { Ready, TimedOut, Cancelled, Failed };

// How long a cancel may go unnoticed.
constexpr std::chrono::milliseconds kCancelCheckInterval{50};

// Waits up to `wait` by calling `waitOnce(slice)`, which waits at most `slice` for the socket
// and returns what poll() or select() do: more than 0 when ready, 0 when the slice passed, less
// than 0 on an error, and `interrupted()` tells whether that error only interrupted the wait.
template <typename WaitOnce, typename Interrupted>
WaitResult WaitInSlices(std::chrono::milliseconds wait, const std::atomic<bool>& cancelled,
                        WaitOnce waitOnce, Interrupted interrupted) {
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    const Clock::time_point deadline = Clock::now() + wait;
    for (;;) {
        if (cancelled.load()) {
            return WaitResult::Cancelled;
        }
        const milliseconds left = std::max(
            milliseconds(0), std::chrono::duration_cast<milliseconds>(deadline - Clock::now()));
        const milliseconds slice = std::min(left, kCancelCheckInterval);
        const int ready = waitOnce(slice);
        if (ready > 0) {
            return WaitResult::Ready;
        }
        if (ready < 0 && !interrupted()) {
            return WaitResult::Failed;
        }
        if (ready == 0 && left <= slice) {
            return WaitResult::TimedOut;
        }
    }
}

// The platform's error code for a wait that did not end ready; `failedCode` is the code of the
// wait's own failure.
inline int WaitErrorCode(WaitResult result, int failedCode) {
    switch (result) {
        case WaitResult::TimedOut:
            return kErrorTimedOut;
        case WaitResult::Cancelled:
            return kErrorCancelled;
        case WaitResult::Ready:
        case WaitResult::Failed:
            break;
    }
    return failedCode;
}

}  // namespace quorvel
