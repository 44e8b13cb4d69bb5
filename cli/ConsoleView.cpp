#include "ConsoleView.h"

#include <sstream>

#include "TerminalText.h"

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

void ConsoleView::WriteErr(const std::string& text) {
    m_err << (m_terminal ? EscapedForTerminal(text) : text) << std::flush;
}

void ConsoleView::ShowMessageBox(const std::string& text, MessageIcon) {
    WriteErr(text + '\n');
}

void ConsoleView::OnExchange(std::string_view serverHost, std::string_view queryText) {
    if (m_verbose) {
        std::ostringstream line;
        line << "Querying " << serverHost << " for \"" << queryText << "\"\n";
        WriteErr(line.str());
    }
}

void ConsoleView::OnDestinationRead(const Destination& destination) {
    if (m_verbose) {
        std::ostringstream line;
        line << "Reading \"" << destination.typed << "\" as " << KindWords(KindOf(destination))
             << " \"" << ReadText(destination) << "\"\n";
        WriteErr(line.str());
    }
}

void ConsoleView::OnServerRefused(std::string_view serverHost) {
    if (m_refusalListener) {
        m_refusalListener(serverHost);
    }
}

}  // namespace quorvel
