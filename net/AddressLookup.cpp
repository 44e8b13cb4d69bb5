#include "AddressLookup.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <algorithm>
#include <cstring>
#include <iterator>

namespace quorvel {
namespace {

// Each family's socket address and where in it the address bytes stand.
struct Ipv4Family {
    using Native = sockaddr_in;
    using Address = Ipv4Address;
    static constexpr int kFamily = AF_INET;
    static void SetFamily(Native& native) { native.sin_family = AF_INET; }
    static void* Bytes(Native& native) { return &native.sin_addr; }
};

struct Ipv6Family {
    using Native = sockaddr_in6;
    using Address = Ipv6Address;
    static constexpr int kFamily = AF_INET6;
    static void SetFamily(Native& native) { native.sin6_family = AF_INET6; }
    static void* Bytes(Native& native) { return &native.sin6_addr; }
};

template <typename Family>
std::optional<std::vector<typename Family::Address>> LookUpAddresses(const std::string& hostName,
                                                                     int& error) {
    if (hostName.find('\0') != std::string::npos) {
        error = ISocketLibrary::kErrorNoData;  // the resolver would read a different, shorter name
        return std::nullopt;
    }
    // Each look-up asks for its own family alone. No AI_ADDRCONFIG: it refuses every IPv6
    // look-up on a host whose only IPv6 address is ::1.
    addrinfo hints{};
    hints.ai_family = Family::kFamily;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(hostName.c_str(), nullptr, &hints, &found);
    if (result != 0) {
        error = ResolverErrorCode(result);
        return std::nullopt;
    }
    std::vector<typename Family::Address> addresses;
    for (const addrinfo* info = found; info != nullptr; info = info->ai_next) {
        typename Family::Native native{};
        if (info->ai_family != Family::kFamily || info->ai_addrlen < sizeof native) {
            continue;
        }
        std::memcpy(&native, info->ai_addr, sizeof native);
        typename Family::Address address{};
        std::memcpy(address.data(), Family::Bytes(native), address.size());
        addresses.push_back(address);
    }
    ::freeaddrinfo(found);
    return addresses;
}

template <typename Family>
std::optional<std::string> LookUpName(const typename Family::Address& address, int& error) {
    typename Family::Native native{};
    std::memcpy(Family::Bytes(native), address.data(), address.size());
    Family::SetFamily(native);
    char name[NI_MAXHOST] = {};
    const int result = ::getnameinfo(reinterpret_cast<const sockaddr*>(&native), sizeof native,
                                     name, sizeof name, nullptr, 0, NI_NAMEREQD);
    if (result != 0) {
        error = ResolverErrorCode(result);
        return std::nullopt;
    }
    return std::string(name);
}

}  // namespace

int ResolverErrorCode(int code) {
    // MinGW gives getaddrinfo's codes Winsock's numbers; they are listed apart all the same.
    constexpr int kNoRecord[] = {
        EAI_NONAME,
#ifdef EAI_NODATA
        EAI_NODATA,
#endif
#ifdef EAI_ADDRFAMILY
        EAI_ADDRFAMILY,  // the name has no address of the family asked for
#endif
#ifdef _WIN32
        WSAHOST_NOT_FOUND, WSANO_DATA,
#endif
    };
    const bool noRecord =
        std::find(std::begin(kNoRecord), std::end(kNoRecord), code) != std::end(kNoRecord);
    return noRecord ? ISocketLibrary::kErrorNoData : code;
}

std::optional<std::vector<Ipv4Address>> LookUpIpv4Addresses(const std::string& hostName,
                                                            int& error) {
    return LookUpAddresses<Ipv4Family>(hostName, error);
}

std::optional<std::vector<Ipv6Address>> LookUpIpv6Addresses(const std::string& hostName,
                                                            int& error) {
    return LookUpAddresses<Ipv6Family>(hostName, error);
}

std::optional<std::string> LookUpIpv4Name(const Ipv4Address& address, int& error) {
    return LookUpName<Ipv4Family>(address, error);
}

std::optional<std::string> LookUpIpv6Name(const Ipv6Address& address, int& error) {
    return LookUpName<Ipv6Family>(address, error);
}

}  // namespace quorvel
