// quorvel-lookup's batch: many destinations looked up in parallel and politely, the answers
// written in input order, each as soon as every earlier one is written.
//
// Up to --jobs lookups run at once; their exchanges share the per-server gate and the memory of
// exchanges made (SharedExchanges.h). A destination read the same way as an earlier one is
// asked once: its later lines get the first one's answer. Memory stays bounded by the lookups in
// flight: no more destinations are read ahead than a few per lookup, and the answers kept for
// later lines have a limit of their own.
//
// Each destination's message-box texts go to stderr in its turn, just before its answer, never
// within another line; a registry's refusal is said once, when it happens. On a terminal, stderr
// shows a progress line meanwhile. When the user interrupts, no new lookup starts, the running
// ones are cancelled, and every answer that was complete is written, in order.
#pragma once

#include "SocketLibrary.h"
#include "ToolConsole.h"
#include "ToolOptions.h"

namespace quorvel {

// The exit status: the highest of the destinations', or 130 after an interruption.
int RunBatch(const ToolOptions& options, ToolConsole& console, ISocketLibrary& sockets);

}  // namespace quorvel
