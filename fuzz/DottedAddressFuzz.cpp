// The dotted-notation parser on arbitrary text: whatever it accepts, it accepts again in the
// dotted-decimal form it prints, as the same address.
#include <cstdint>
#include <string_view>

#include "DottedAddress.h"
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::uint32_t address = quorvel::ParseDottedAddress(text);
    if (address == quorvel::kInaddrNone) {
        return 0;
    }
    const std::string printed = quorvel::FormatDottedAddress(quorvel::ToNetworkBytes(address));
    QUORVEL_FUZZ_CHECK(printed.size() <= 15);
    QUORVEL_FUZZ_CHECK(quorvel::ParseDottedAddress(printed) == address);
    // Only the notation's own characters make an address.
    QUORVEL_FUZZ_CHECK(text.find_first_not_of("0123456789abcdefABCDEFxX.") ==
                       std::string_view::npos);
    return 0;
}
