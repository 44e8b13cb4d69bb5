// APNIC replies (TWNIC's are appended, not scanned):
//
//   % Information related to '1.1.1.0 - 1.1.1.255'
//   inetnum:        1.1.1.0 - 1.1.1.255
//   netname:        APNIC-LABS
//
// The record begins at "inetnum"; "netname" names the network and decides the route onwards
// (ARIN-CIDR-BLOCK, ERX-NETBLOCK, IANA..., RIPE-CIDR-BLOCK, LACNIC-CIDR-BLOCK). The scan ends at
// the network name.
#include "Scanners.h"

namespace quorvel {
namespace {

constexpr ScanKey kApnicKeys[] = {
    {'i', 0, 0, KeyAction::RecordStartThenSkip, 0, ScanField::NetName},  // inetnum
    {'n', 0, 0, KeyAction::ValueThenStop, 8, ScanField::NetName},        // "netname:" is 8 long
};

}  // namespace

constexpr ScannerRules kApnicRules = {kApnicKeys, std::size(kApnicKeys), '\n', false};

std::optional<std::size_t> ScanApnicReply(std::string_view reply, ScanFields& fields) {
    return ScanReply(reply, kApnicRules, fields);
}

}  // namespace quorvel
