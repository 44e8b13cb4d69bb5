// Byte-string operations the lookup is written in: first/last n characters, tails, and
// replacement. Comparisons are std::string's, which order bytes by their unsigned values.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// The first n characters of a text, or the whole text when it is shorter.
inline std::string_view Left(std::string_view text, std::size_t n) {
    return text.substr(0, n);
}

// The last n characters of a text, or the whole text when it is shorter.
inline std::string_view Right(std::string_view text, std::size_t n) {
    return n >= text.size() ? text : text.substr(text.size() - n);
}

inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return Left(text, prefix.size()) == prefix;
}

// Every occurrence of `from` replaced by `to`, scanning left to right without overlap.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace quorvel
