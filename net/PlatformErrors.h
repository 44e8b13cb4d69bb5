// The platform's own error codes for the failures the whois client detects itself.
#pragma once

#ifdef _WIN32
namespace quorvel {
constexpr int kErrorTimedOut = 10060;      // WSAETIMEDOUT
constexpr int kErrorReplyTooLong = 10040;  // WSAEMSGSIZE
constexpr int kErrorCancelled = 10103;     // WSAECANCELLED
}  // namespace quorvel
#else
#include <cerrno>
namespace quorvel {
constexpr int kErrorTimedOut = ETIMEDOUT;
constexpr int kErrorReplyTooLong = EMSGSIZE;
constexpr int kErrorCancelled = ECANCELED;
}  // namespace quorvel
#endif
