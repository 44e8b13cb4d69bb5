// Finding the addresses in a text, as in web, mail and firewall logs: every IPv4 address (four
// decimal parts, not part of a longer run of digits and dots) and every IPv6 address (a maximal
// run of hex digits, ':' and '.' that is one, and not part of a word). Each distinct address is
// kept once, in the order first seen, with the number of times it occurs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvel {

struct FoundAddress {
    std::string text;  // as the run asks it: the dotted address, an IPv6 address's canonical text
    std::size_t count = 0;
};

class CAddressFinder {
public:
    // Reads the next piece of the text; an address may be split between two pieces.
    void Read(std::string_view piece);
    // The text has ended.
    void Finish();

    const std::vector<FoundAddress>& Found() const { return m_found; }

private:
    void ReadRun(std::string_view run, char before, char after);
    void FindIpv4In(std::string_view run);
    void Count(std::string_view text, bool ipv6);

    std::string m_carried;  // a run the last piece ended in, which the next may continue
    char m_beforeCarried = ' ';
    bool m_carriedTooLong = false;
    std::vector<FoundAddress> m_found;
    std::unordered_map<std::string, std::size_t> m_index;  // as written, and canonical
};

}  // namespace quorvel
