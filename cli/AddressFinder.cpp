#include "AddressFinder.h"

#include <array>

#include "DottedAddress.h"
#include "Ipv6Address.h"

namespace quorvel {
namespace {

// What each byte can be part of.
enum ByteClass : unsigned char {
    kOther = 0,
    kDigit = 1,      // 0-9: both kinds of address
    kHexLetter = 2,  // a-f, A-F: IPv6
    kColon = 4,
    kDot = 8,
    kWordOnly = 16,  // the other letters and '_': a run touching one is part of a word
};
constexpr unsigned char kRunBytes = kDigit | kHexLetter | kColon | kDot;

constexpr std::array<unsigned char, 256> MakeByteClasses() {
    std::array<unsigned char, 256> classes{};
    for (std::size_t c = '0'; c <= '9'; ++c) {
        classes[c] = kDigit;
    }
    for (std::size_t c = 'a'; c <= 'z'; ++c) {
        const unsigned char letter = c <= 'f' ? kHexLetter : kWordOnly;
        classes[c] = letter;
        classes[c - 'a' + 'A'] = letter;
    }
    classes['_'] = kWordOnly;
    classes[':'] = kColon;
    classes['.'] = kDot;
    return classes;
}
constexpr std::array<unsigned char, 256> kByteClasses = MakeByteClasses();

unsigned char ClassOf(char c) {
    return kByteClasses[static_cast<unsigned char>(c)];
}

bool IsRunByte(char c) {
    return (ClassOf(c) & kRunBytes) != 0;
}

// No run is longer than the longest IPv6 text (45 characters) with a sentence's full stop, and
// a run of digits and dots longer than this holds no address either: longer runs are not read.
constexpr std::size_t kLongestRun = 64;

// "1.2.3.4." ends a sentence: its full stop is not part of the address.
std::string_view WithoutFullStop(std::string_view run) {
    if (!run.empty() && run.back() == '.') {
        run.remove_suffix(1);
    }
    return run;
}

}  // namespace

void CAddressFinder::Read(std::string_view piece) {
    std::size_t pos = 0;
    // A run carried over from the last piece goes on here.
    if (!m_carried.empty() || m_carriedTooLong) {
        while (pos < piece.size() && IsRunByte(piece[pos])) {
            ++pos;
        }
        if (pos == piece.size()) {
            m_carriedTooLong = m_carriedTooLong || m_carried.size() + pos > kLongestRun;
            if (!m_carriedTooLong) {
                m_carried.append(piece);
            }
            return;
        }
        if (!m_carriedTooLong && m_carried.size() + pos <= kLongestRun) {
            m_carried.append(piece.substr(0, pos));
            ReadRun(m_carried, m_beforeCarried, piece[pos]);
        }
        m_carried.clear();
        m_carriedTooLong = false;
    }
    while (pos < piece.size()) {
        // Most bytes of a log start no run worth reading: a run needs a digit, ':' or '.'.
        while (pos < piece.size() && !IsRunByte(piece[pos])) {
            ++pos;
        }
        const std::size_t start = pos;
        unsigned char seen = 0;
        while (pos < piece.size() && IsRunByte(piece[pos])) {
            seen |= ClassOf(piece[pos]);
            ++pos;
        }
        if (start == pos) {
            break;
        }
        const char before = start > 0 ? piece[start - 1] : m_beforeCarried;
        if (pos == piece.size()) {
            m_carried.assign(piece.substr(start, pos - start));
            m_carriedTooLong = m_carried.size() > kLongestRun;
            if (m_carriedTooLong) {
                m_carried.clear();
            }
            m_beforeCarried = before;
            return;
        }
        const bool mayHoldAddress =
            (seen & kColon) != 0 || ((seen & kDot) != 0 && (seen & kDigit) != 0);
        if (mayHoldAddress && pos - start <= kLongestRun) {
            ReadRun(piece.substr(start, pos - start), before, piece[pos]);
        }
    }
    if (!piece.empty()) {
        m_beforeCarried = piece.back();
    }
}

void CAddressFinder::Finish() {
    if (!m_carried.empty() && !m_carriedTooLong) {
        ReadRun(m_carried, m_beforeCarried, ' ');
    }
    m_carried.clear();
    m_carriedTooLong = false;
    m_beforeCarried = ' ';
}

// A maximal run of hex digits, ':' and '.': an IPv6 address when it is one (a full stop after
// it ends a sentence) and no letter or '_' touches it; otherwise the IPv4 addresses in it.
void CAddressFinder::ReadRun(std::string_view run, char before, char after) {
    if (run.find(':') != std::string_view::npos) {
        const std::string_view candidate = WithoutFullStop(run);
        const bool inAWord = ClassOf(before) == kWordOnly || ClassOf(after) == kWordOnly;
        if (!inAWord && ParseIpv6Address(candidate)) {
            Count(candidate, true);
            return;
        }
    }
    FindIpv4In(run);
}

// The runs of digits and dots within a run: hex letters and ':' part them.
void CAddressFinder::FindIpv4In(std::string_view run) {
    for (std::size_t pos = 0; pos < run.size();) {
        while (pos < run.size() && (ClassOf(run[pos]) & (kDigit | kDot)) == 0) {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < run.size() && (ClassOf(run[pos]) & (kDigit | kDot)) != 0) {
            ++pos;
        }
        // Four decimal parts of 0 to 255, no leading zeros: the address is the run, whole.
        const std::string_view address = WithoutFullStop(run.substr(start, pos - start));
        if (ParseDottedQuad(address)) {
            Count(address, false);
        }
    }
}

// Counts an address under its canonical text, so that "2001:DB8::1" and "2001:db8::1" are one;
// a text seen before is found without reading it again.
void CAddressFinder::Count(std::string_view text, bool ipv6) {
    const std::string written(text);
    const auto seen = m_index.find(written);
    if (seen != m_index.end()) {
        ++m_found[seen->second].count;
        return;
    }
    const std::string canonical = ipv6 ? LookupText(*ParseIpv6Address(text)) : written;
    const auto [entry, added] = m_index.emplace(canonical, m_found.size());
    if (added) {
        m_found.push_back({canonical, 0});
    }
    m_index.emplace(written, entry->second);
    ++m_found[entry->second].count;
}

}  // namespace quorvel
