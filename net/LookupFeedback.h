// What the lookup tells the user while it runs. The window shows message boxes; the command
// line writes them to stderr and, when asked, names each exchange as it begins.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

enum class MessageIcon { None, Exclamation };

class ILookupFeedback {
public:
    virtual ~ILookupFeedback() = default;

    // A modal message box with an OK button; returns when the user has closed it.
    virtual void ShowMessageBox(const std::string& text, MessageIcon icon) = 0;

    // An exchange with a registry server is about to begin.
    virtual void OnExchange(std::string_view serverHost, std::string_view queryText) {
        static_cast<void>(serverHost);
        static_cast<void>(queryText);
    }

    // The whois server refused to answer, now or earlier in a run of many lookups; the lookup
    // then ends as if the exchange had failed.
    virtual void OnServerRefused(std::string_view serverHost) { static_cast<void>(serverHost); }
};

}  // namespace quorvel
