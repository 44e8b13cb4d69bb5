// Records the message boxes, exchanges and refusals the lookup reports.
#pragma once

#include <string>
#include <vector>

#include "LookupFeedback.h"

namespace quorvel::testing {

class RecordingFeedback : public ILookupFeedback {
public:
    void ShowMessageBox(const std::string& text, MessageIcon icon) override {
        messages.push_back(text);
        icons.push_back(icon);
    }
    void OnExchange(std::string_view serverHost, std::string_view queryText) override {
        exchanges.push_back(std::string(serverHost) + " " + std::string(queryText));
    }
    void OnServerRefused(std::string_view serverHost) override {
        refusals.emplace_back(serverHost);
    }

    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
    std::vector<std::string> exchanges;
    std::vector<std::string> refusals;
};

}  // namespace quorvel::testing
