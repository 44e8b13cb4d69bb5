// Byte-string operations the lookup is written in: first/last n characters, tails, and
// replacement. Comparisons are std::string's, which order bytes by their unsigned values.
#pragma once

#include <optional>
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

// ASCII letters and digits, whatever the locale.
inline bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// True when the text begins with an ASCII letter (whatever the locale).
inline bool StartsWithAsciiLetter(std::string_view text) {
    return !text.empty() && IsAsciiLetter(text.front());
}

// The text without the blanks and line ends around it, as typing and pasting bring them.
inline std::string_view WithoutSurroundingBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The text between the first '(' and the next ')' after it; none without such a pair.
inline std::optional<std::string_view> TextInParentheses(std::string_view text) {
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t close = text.find(')', open + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return text.substr(open + 1, close - open - 1);
}

// ASCII letters in lower case; every other byte as it is (whatever the locale).
inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal but for the case of ASCII letters (host names).
inline bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t index = 0; index < a.size(); ++index) {
        if (LowerAscii(a[index]) != LowerAscii(b[index])) {
            return false;
        }
    }
    return true;
}

// StartsWith, but for the case of ASCII letters ("AS", "IPv6:", "[dot]").
inline bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return EqualIgnoringCase(Left(text, prefix.size()), prefix);
}

// Every occurrence of `from` replaced by `to`, scanning left to right without overlap.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace quorvel
