#include "ConsoleView.h"

namespace quorvel {

void ConsoleView::ShowMessageBox(const std::string& text, MessageIcon) {
    m_err << text << '\n' << std::flush;
}

void ConsoleView::OnExchange(std::string_view serverHost, std::string_view queryText) {
    if (m_verbose) {
        m_err << "Querying " << serverHost << " for \"" << queryText << "\"\n" << std::flush;
    }
}

}  // namespace quorvel
