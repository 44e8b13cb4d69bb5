// The Locate command's view on a console: the destination stands in the address box, message
// boxes go to stderr, the information box is kept for printing at the end.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "LocateView.h"

namespace quorvel {

class ConsoleView final : public ILocateView {
public:
    ConsoleView(std::ostream& err, bool verbose) : m_err(err), m_verbose(verbose) {}

    void SetDestination(const std::string& destination) { m_destination = destination; }
    // stderr is a terminal: its texts are written with visible escapes for control characters.
    void SetTerminal(bool terminal) { m_terminal = terminal; }
    // Told when a registry server refuses to answer (in a batch).
    void SetRefusalListener(std::function<void(std::string_view)> listener) {
        m_refusalListener = std::move(listener);
    }
    const std::string& InformationText() const { return m_information; }

    std::string GetAddressText() override { return m_destination; }
    void SetInformationText(const std::string& text) override { m_information = text; }
    void ShowMessageBox(const std::string& text, MessageIcon icon) override;
    void OnExchange(std::string_view serverHost, std::string_view queryText) override;
    void OnDestinationRead(const Destination& destination) override;
    void OnServerRefused(std::string_view serverHost) override;

    // A console has no controls, cursor or paint to manage.
    void EnableAddressBox(bool) override {}
    void EnableLocateButton(bool) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void FocusAddressBox() override {}
    void RepaintNow() override {}

private:
    void WriteErr(const std::string& text);

    std::ostream& m_err;
    bool m_verbose;
    bool m_terminal = false;
    std::function<void(std::string_view)> m_refusalListener;
    std::string m_destination;
    std::string m_information;
};

}  // namespace quorvel
