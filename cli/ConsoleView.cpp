#include "ConsoleView.h"

namespace quorvel {
namespace {

// What a destination was read as, in words.
std::string_view KindWords(DestinationKind kind) {
    switch (kind) {
        case DestinationKind::Address:
            return "the address";
        case DestinationKind::Prefix:
            return "the prefix";
        case DestinationKind::AsNumber:
            return "the AS number";
        case DestinationKind::HostName:
            return "the host name";
        case DestinationKind::None:
            break;
    }
    return "nothing";
}

}  // namespace

void ConsoleView::ShowMessageBox(const std::string& text, MessageIcon) {
    m_err << text << '\n' << std::flush;
}

void ConsoleView::OnExchange(std::string_view serverHost, std::string_view queryText) {
    if (m_verbose) {
        m_err << "Querying " << serverHost << " for \"" << queryText << "\"\n" << std::flush;
    }
}

void ConsoleView::OnDestinationRead(const Destination& destination) {
    if (m_verbose) {
        m_err << "Reading \"" << destination.typed << "\" as " << KindWords(KindOf(destination))
              << " \"" << ReadText(destination) << "\"\n"
              << std::flush;
    }
}

}  // namespace quorvel
