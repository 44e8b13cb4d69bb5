// A view of the Locate command that records every dialog operation in order.
#pragma once

#include <string>
#include <vector>

#include "LocateView.h"

namespace quorvel::testing {

class RecordingView : public ILocateView {
public:
    explicit RecordingView(std::string typed) : m_typed(std::move(typed)) {}

    std::string GetAddressText() override { return m_typed; }
    void SetInformationText(const std::string& text) override {
        information = text;
        log.push_back("text " + text);
    }
    void ShowMessageBox(const std::string& text, MessageIcon icon) override {
        messages.push_back(text);
        log.push_back(icon == MessageIcon::Exclamation ? "box! " + text : "box " + text);
    }
    void EnableAddressBox(bool enable) override {
        log.push_back(enable ? "enable address" : "disable address");
    }
    void EnableLocateButton(bool enable) override {
        log.push_back(enable ? "enable locate" : "disable locate");
    }
    void BeginWaitCursor() override { log.push_back("wait begin"); }
    void EndWaitCursor() override { log.push_back("wait end"); }
    void FocusAddressBox() override { log.push_back("focus address"); }
    void RepaintNow() override { log.push_back("repaint"); }

    std::string information;
    std::vector<std::string> messages;
    std::vector<std::string> log;

private:
    std::string m_typed;
};

}  // namespace quorvel::testing
