// LACNIC replies, with CR LF line ends:
//
//   inetnum:     200.57.128/20
//   status:      allocated
//   aut-num:     N/A
//   owner:       Triara.com, S.A. de C.V.
//   ownerid:     MX-TCSA-LACNIC
//   address:     Av. Constitucion, 1111, Pte.
//   country:     MX
//
// The record begins at "inetnum"; "owner" tells whether LACNIC holds the record itself (the
// record is then shown up to LACNIC's "% whois" trailer). The scan ends at "country".
#include "Scanners.h"

namespace quorvel {
namespace {

constexpr ScanKey kLacnicKeys[] = {
    {'i', 0, 0, KeyAction::RecordStartThenSkip, 8, ScanField::Owner},  // inetnum
    {'s', 0, 0, KeyAction::Skip, 0, ScanField::Owner},                 // status
    {'o', 5, 'i', KeyAction::Skip, 0, ScanField::Owner},               // ownerid
    {'o', 5, ':', KeyAction::Value, 6, ScanField::Owner},              // owner
    {'a', 0, 0, KeyAction::Skip, 8, ScanField::Owner},                 // address
    {'c', 0, 0, KeyAction::Stop, 0, ScanField::Owner},                 // country
};

}  // namespace

constexpr ScannerRules kLacnicRules = {kLacnicKeys, std::size(kLacnicKeys), '\r', true};

std::optional<std::size_t> ScanLacnicReply(std::string_view reply, ScanFields& fields) {
    return ScanReply(reply, kLacnicRules, fields);
}

}  // namespace quorvel
