// Reading the project's captured and written registry replies.
#pragma once

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace quorvel::testing {

// The bytes of a file, exactly as stored.
inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("missing test data: " + path);
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The bytes of a captured reply below tests/data/replies, exactly as stored.
inline std::string ReadReply(const std::string& relativePath) {
    return ReadFile(std::string(QUORVEL_TEST_DATA_DIR) + "/replies/" + relativePath);
}

// The bytes of a reply written for the tests, below tests/data/written, exactly as stored.
inline std::string ReadWritten(const std::string& relativePath) {
    return ReadFile(std::string(QUORVEL_TEST_DATA_DIR) + "/written/" + relativePath);
}

// The text from the first occurrence of `marker` to the end.
inline std::string TailFrom(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    if (at == std::string::npos) {
        throw std::runtime_error("marker not in test data: " + marker);
    }
    return text.substr(at);
}

// The text before the first occurrence of `marker` (all of it when absent).
inline std::string HeadBefore(const std::string& text, const std::string& marker) {
    return text.substr(0, text.find(marker));
}

// LF line ends shown as CR LF, as the record endings show them.
inline std::string WithCrLf(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n') {
            result += '\r';
        }
        result += c;
    }
    return result;
}

}  // namespace quorvel::testing
