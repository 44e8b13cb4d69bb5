#include "HostNameIdna.h"

#include <algorithm>

namespace quorvel {

std::optional<std::string> AsciiHostName(const std::string& hostName) {
    const bool isAscii = std::none_of(hostName.begin(), hostName.end(), [](char byte) {
        return static_cast<unsigned char>(byte) >= 0x80;
    });
    if (isAscii) {
        return hostName;  // the resolver reads such a name as it always has
    }
    if (hostName.find('\0') != std::string::npos) {
        return std::nullopt;  // the conversion would read a shorter name
    }
    return IdnaToAscii(hostName);
}

}  // namespace quorvel
