// RIPE NCC replies:
//
//   inetnum:        62.239.0.0 - 62.239.255.255
//   netname:        BT-CORPORATE
//   descr:          BT Corporate
//   country:        GB
//   admin-c:        ...
//
// The record begins at "inetnum"; the last "netname" before the end decides whether the block
// is RIPE NCC's own or handed on (IANA-BLK goes to LACNIC). The scan ends at "admin-c".
#include "Scanners.h"

namespace quorvel {
namespace {

constexpr ScanKey kRipeKeys[] = {
    {'i', 0, 0, KeyAction::RecordStartThenSkip, 8, ScanField::NetName},  // inetnum
    {'n', 0, 0, KeyAction::Value, 8, ScanField::NetName},                // netname
    {'d', 0, 0, KeyAction::Skip, 6, ScanField::NetName},                 // descr
    {'c', 0, 0, KeyAction::Skip, 8, ScanField::NetName},                 // country
    {'a', 0, 0, KeyAction::Stop, 0, ScanField::NetName},                 // admin-c
};

}  // namespace

constexpr ScannerRules kRipeRules = {kRipeKeys, std::size(kRipeKeys), '\n', false};

std::optional<std::size_t> ScanRipeReply(std::string_view reply, ScanFields& fields) {
    return ScanReply(reply, kRipeRules, fields);
}

}  // namespace quorvel
