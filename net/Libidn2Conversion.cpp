// International names on Linux: libidn2, which reads UTF-8 whatever the locale. glibc's own
// AI_IDN would convert only under a UTF-8 locale.
#include <idn2.h>

#include <cstdlib>
#include <memory>

#include "HostNameIdna.h"

namespace quorvel {

std::optional<std::string> IdnaToAscii(const std::string& utf8Name) {
    char* converted = nullptr;
    const int result =
        idn2_to_ascii_8z(utf8Name.c_str(), &converted, IDN2_NONTRANSITIONAL | IDN2_NFC_INPUT);
    const std::unique_ptr<char, decltype(&std::free)> owned(converted, &std::free);
    if (result != IDN2_OK || converted == nullptr) {
        return std::nullopt;
    }
    return std::string(converted);
}

}  // namespace quorvel
