// Each registry's reply scanner: the attributes it reads and where the record begins.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "ReplyScanner.h"

namespace quorvel {

std::optional<std::size_t> ScanApnicReply(std::string_view reply, ScanFields& fields);
std::optional<std::size_t> ScanArinReply(std::string_view reply, ScanFields& fields);
std::optional<std::size_t> ScanRipeReply(std::string_view reply, ScanFields& fields);
std::optional<std::size_t> ScanLacnicReply(std::string_view reply, ScanFields& fields);

// The key tables the scanners walk by, for checks that walk a reply their own way.
extern const ScannerRules kApnicRules;
extern const ScannerRules kArinRules;
extern const ScannerRules kRipeRules;
extern const ScannerRules kLacnicRules;

}  // namespace quorvel
