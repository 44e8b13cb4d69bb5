// How a lookup fuzz input is laid out, so that seeds can be written from captured replies:
// sections separated by form feeds ('\f'), in this order:
//
//   address text \f APNIC \f TWNIC \f ARIN (asked for the address) \f ARIN (asked for anything
//   else: the match list's handle) \f RIPE NCC \f LACNIC \f AFRINIC \f IANA
//
// A missing section is a server that closes without a word; a section that is the single byte
// DEL (0x7F) is a server whose name does not resolve.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::fuzz {

constexpr char kSectionSeparator = '\f';
constexpr char kUnresolvedServer[] = "\x7F";

enum LookupSection : std::size_t {
    kAddressSection,
    kApnicSection,
    kTwnicSection,
    kArinAddressSection,
    kArinHandleSection,
    kRipeSection,
    kLacnicSection,
    kAfrinicSection,
    kIanaSection,
    kSectionCount
};

// The input's sections; those the input lacks are empty.
inline std::vector<std::string> SplitLookupInput(std::string_view input) {
    std::vector<std::string> sections(kSectionCount);
    for (std::size_t i = 0; i < kSectionCount; ++i) {
        const std::size_t separator = input.find(kSectionSeparator);
        // The last section takes the rest, separators and all.
        if (i + 1 == kSectionCount || separator == std::string_view::npos) {
            sections[i] = std::string(input);
            break;
        }
        sections[i] = std::string(input.substr(0, separator));
        input.remove_prefix(separator + 1);
    }
    return sections;
}

}  // namespace quorvel::fuzz
