// How the registries say that they refuse to answer: RIPE NCC and AFRINIC block an address that
// asked for too many personal-data sets ("%ERROR:201: access denied"), and servers under load
// say that a query or rate limit was exceeded. A run that meets a refusal asks that server no
// more.
#pragma once

#include <optional>
#include <string_view>

#include "Registries.h"

namespace quorvel {

struct RefusalMark {
    std::optional<Registry> registry;  // none: every server may say it
    std::string_view text;
    bool atLineStart;  // true: a line begins with `text`; false: a line holds it, in any case
};

inline constexpr RefusalMark kRefusalMarks[] = {
    // "%ERROR:201: access denied for 192.0.2.1", after the daily limit of personal-data sets, or
    // for an address blocked for querying too much.
    {Registry::RipeNcc, "%ERROR:201", true},
    {Registry::Afrinic, "%ERROR:201", true},
    {std::nullopt, "query limit exceeded", false},
    {std::nullopt, "rate limit exceeded", false},
};

// True when `reply`, from the whois server `serverHost`, says that the server refuses to answer.
bool IsRefusalReply(std::string_view serverHost, std::string_view reply);

}  // namespace quorvel
