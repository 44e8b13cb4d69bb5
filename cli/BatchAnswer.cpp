#include "BatchAnswer.h"

#include <sstream>

#include "ConsoleView.h"
#include "LocateCommand.h"
#include "LookupTool.h"

namespace quorvel {
namespace {

BatchStatus StatusOf(LocateAnswer::Ending ending, bool refused) {
    switch (ending) {
        case LocateAnswer::Ending::Record:
            return BatchStatus::Record;
        case LocateAnswer::Ending::Private:
            return BatchStatus::Private;
        case LocateAnswer::Ending::Loopback:
            return BatchStatus::Loopback;
        case LocateAnswer::Ending::Failed:
            break;
        case LocateAnswer::Ending::Unresolved:
            return BatchStatus::Unresolved;
        case LocateAnswer::Ending::Empty:
            return BatchStatus::Empty;
    }
    return refused ? BatchStatus::Refused : BatchStatus::Failed;
}

std::string NameOf(const std::optional<Registry>& registry) {
    return registry ? std::string(RegistryName(*registry)) : std::string();
}

RecordSummary SummaryOf(const LocateAnswer& found) {
    const LookupAnswer& lookup = found.lookup;
    if (found.ending != LocateAnswer::Ending::Record || !lookup.registry) {
        return {};
    }
    const SummaryAttributes* attributes = SummaryAttributesFor(*lookup.registry, lookup.asRecord);
    return attributes ? SummarizeRecord(*attributes, lookup.report, lookup.reply) : RecordSummary{};
}

}  // namespace

std::string_view StatusName(BatchStatus status) {
    return kBatchStatusNames[static_cast<std::size_t>(status)];
}

std::size_t BatchAnswer::Bytes() const {
    return sizeof(BatchAnswer) + shownText.size() + kind.size() + name.size() + address.size() +
           registry.size() + summary.range.size() + summary.network.size() + summary.holder.size() +
           summary.country.size() + report.size() + messages.size();
}

// The Locate command as quorvel-lookup runs it for one destination, with the message boxes and
// named exchanges kept rather than written.
BatchAnswer LookUpForBatch(const std::string& destination, ISocketLibrary& sockets,
                           CSharedExchanges& shared, bool verbose,
                           const RefusalListener& onRefusal) {
    std::ostringstream messages;
    bool refused = false;
    ConsoleView view(messages, verbose);
    view.SetDestination(destination);
    view.SetRefusalListener([&](std::string_view serverHost) {
        if (!refused && onRefusal) {
            onRefusal(serverHost);
        }
        refused = true;
    });
    CLocateCommand command(view, sockets, &shared);
    const LocateOutcome outcome = command.OnLocate();
    const LocateAnswer& found = command.Answer();

    BatchAnswer answer;
    answer.status = StatusOf(found.ending, refused);
    answer.exitStatus = ExitStatusOf(outcome);
    answer.shown = ShowsResult(outcome);
    if (answer.shown) {
        answer.shownText = view.InformationText();
    }
    answer.kind = std::string(KindName(found.kind));
    answer.name = found.name;
    answer.address = found.address;
    answer.registry = NameOf(found.lookup.registry);
    answer.summary = SummaryOf(found);
    answer.report = found.lookup.report;
    answer.messages = messages.str();
    return answer;
}

}  // namespace quorvel
