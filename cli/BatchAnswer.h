// One destination of a batch, looked up: what the Locate command found, read for the batch's
// outputs (the text the window would show, the CSV and JSON fields, the status), with the
// message-box texts it wrote meanwhile, kept to be written in the destination's turn.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "RecordSummary.h"
#include "SharedExchanges.h"
#include "SocketLibrary.h"

namespace quorvel {

enum class BatchStatus { Record, Private, Loopback, Failed, Unresolved, Empty, Refused };

// The statuses' names, in the order the progress line counts them.
inline constexpr std::string_view kBatchStatusNames[] = {
    "record", "private", "loopback", "failed", "unresolved", "empty", "refused"};

std::string_view StatusName(BatchStatus status);

struct BatchAnswer {
    BatchStatus status = BatchStatus::Empty;
    int exitStatus = 0;
    bool shown = false;  // the text format writes `shownText` (header and report)
    std::string shownText;
    std::string kind;
    std::string name;
    std::string address;
    std::string registry;
    RecordSummary summary;
    std::string report;    // the text shown below the header
    std::string messages;  // stderr's lines, as quorvel-lookup writes them, in order

    std::size_t Bytes() const;
};

// Called, on the lookup's thread, when a registry server refuses to answer.
using RefusalListener = std::function<void(std::string_view serverHost)>;

BatchAnswer LookUpForBatch(const std::string& destination, ISocketLibrary& sockets,
                           CSharedExchanges& shared, bool verbose,
                           const RefusalListener& onRefusal);

}  // namespace quorvel
