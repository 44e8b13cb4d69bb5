// ARIN's replies in the layout ARIN writes today: a block of '#' comment lines first, then a
// list of matches, "No match found", or network records, each followed by the organisation
// that holds it:
//
//   #
//   # ARIN WHOIS data and services are subject to the Terms of Use
//   #
//
//   NetRange:       74.125.0.0 - 74.125.255.255
//   CIDR:           74.125.0.0/16
//   NetName:        GOOGLE
//   ...
//   OrgName:        Google Inc.
//   OrgId:          GOGL
//   ...
//
//   #
//   # ARIN WHOIS data and services are subject to the Terms of Use
//
// The organisation comes after the network here, where the older layout named it first, so
// these replies are read line by line, with attribute names matched whole at line starts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// True when the reply's first line that is not empty is a '#' comment line.
bool IsCurrentArinLayout(std::string_view reply);

struct CurrentArinReply {
    enum class Kind {
        Nothing,    // comments and empty lines only
        NoMatch,    // "No match found for ..."
        MatchList,  // a list of matches; `handle` names the last, most specific entry
        Record,     // a network record from `recordStart`, held by `orgId` (empty for customers)
        NoRecord,   // no "NetRange:" line
    };
    Kind kind = Kind::Nothing;
    std::string handle;
    std::size_t recordStart = 0;
    std::string orgId;
};

// Reads a reply in the current layout. A list of matches is recognised only while
// `listMayBeFollowed`: the reply to a handle is never followed again.
CurrentArinReply ReadCurrentArinReply(std::string_view reply, bool listMayBeFollowed);

// The record that starts `recordText`, up to the first comment line after it (ARIN's closing
// terms-of-use block).
std::string_view CurrentArinRecord(std::string_view recordText);

}  // namespace quorvel
