// Where quorvel-lookup reads and writes, and what it knows of them: whether stdout and stderr are
// terminals (a terminal gets escaped control characters and a progress line), how wide stderr's
// terminal is, and whether the user has asked it to stop (Ctrl-C, SIGTERM).
#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <istream>
#include <ostream>

namespace quorvel {

struct ToolConsole {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal = false;
    bool errIsTerminal = false;
    std::size_t errColumns = 80;
    // Set, from any thread or a signal handler, when the run is to stop; none: it never is.
    const std::atomic<bool>* interrupted = nullptr;
    // Called as a batch begins: from then on Ctrl-C and SIGTERM set `interrupted` rather than
    // end the program. Without it (one destination after another) they end it at once.
    std::function<void()> catchInterrupts = {};
};

}  // namespace quorvel
