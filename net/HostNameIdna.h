// International host names: the ASCII form (IDNA) that the resolver is asked about.
#pragma once

#include <optional>
#include <string>

namespace quorvel {

// The name the resolver is asked about for a host name as read. A name of ASCII bytes alone is
// that name, unchanged. A name holding a byte of 0x80 or more is read as UTF-8, whatever the
// locale, and converted to its ASCII form ("bücher.example" is "xn--bcher-kva.example"). None
// when its bytes are not UTF-8 or the conversion refuses the name.
std::optional<std::string> AsciiHostName(const std::string& hostName);

// The platform's conversion of a UTF-8 name to its ASCII form: libidn2 on Linux (UTS #46
// mapping, non-transitional, as browsers do), the system's IdnToAscii on Windows. None when the
// bytes are not UTF-8 or the name is refused.
std::optional<std::string> IdnaToAscii(const std::string& utf8Name);

}  // namespace quorvel
