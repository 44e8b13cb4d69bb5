// ARIN replies:
//
//   NetRange:       8.0.0.0 - 8.255.255.255
//   CIDR:           8.0.0.0/8
//   NetName:        LVLT-ORG-8-8
//   ...
//   OrgName:        Level 3 Communications, Inc.
//   OrgId:          LVLT
//   Address:        1025 Eldorado Blvd.
//   City:           Broomfield
//   StateProv:      CO
//   PostalCode:     80021
//   Country:        US
//   Comment:        ...
//
// The record shown begins at "OrgName"; "OrgId" routes onwards (RIPE, LACNIC, or the end at
// APNIC and IANA); "NetName" ends the scan. The other attributes are skipped whole so that
// their values cannot be taken for keys. A skip passes over the attribute's name and colon, then
// the walk goes on to the line's end; PostalCode and CIDR skip nothing first and go to the line's
// end at once, which comes to the same.
#include "Scanners.h"

namespace quorvel {
namespace {

constexpr ScanKey kArinKeys[] = {
    {'O', 3, 'N', KeyAction::RecordStartThenSkip, 8, ScanField::NetName},  // OrgName
    {'O', 3, 'I', KeyAction::Value, 8, ScanField::OrgId},                  // OrgId (and blanks)
    {'A', 0, 0, KeyAction::Skip, 8, ScanField::NetName},                   // Address
    {'C', 1, 'i', KeyAction::Skip, 5, ScanField::NetName},                 // City
    {'S', 0, 0, KeyAction::Skip, 10, ScanField::NetName},                  // StateProv
    {'P', 0, 0, KeyAction::Skip, 0, ScanField::NetName},                   // PostalCode
    {'C', 1, 'I', KeyAction::Skip, 0, ScanField::NetName},                 // CIDR
    {'C', 1, 'o', KeyAction::Skip, 8, ScanField::NetName},                 // Country, Comment
    {'N', 3, 'R', KeyAction::Skip, 9, ScanField::NetName},                 // NetRange
    {'N', 3, 'N', KeyAction::ValueThenStop, 8, ScanField::NetName},        // NetName
};

}  // namespace

constexpr ScannerRules kArinRules = {kArinKeys, std::size(kArinKeys), '\n', false};

std::optional<std::size_t> ScanArinReply(std::string_view reply, ScanFields& fields) {
    return ScanReply(reply, kArinRules, fields);
}

}  // namespace quorvel
