// The socket library services the program uses: starting the library, name resolution, and one
// TCP stream per whois exchange. Linux and Windows each have an implementation; tests bring
// their own.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel {

// An IPv4 address as its four bytes, in network order.
using Ipv4Address = std::array<std::uint8_t, 4>;
// An IPv6 address as its sixteen bytes, in network order.
using Ipv6Address = std::array<std::uint8_t, 16>;

constexpr std::uint16_t kAddressFamilyInet = 2;  // AF_INET, the only family the program uses

// The socket library version the window and quorvel-lookup ask Startup for: 2.1, the major
// version in the low byte, as MAKEWORD(2, 1) writes it.
constexpr std::uint16_t kSocketLibraryVersion = 0x0102;

// The 16-byte IPv4 socket address a whois exchange connects to.
struct SocketAddressV4 {
    std::uint16_t family = 0;
    std::uint16_t portNetworkOrder = 0;
    Ipv4Address address{};
    std::array<std::uint8_t, 8> zero{};
};
static_assert(sizeof(SocketAddressV4) == 16, "an IPv4 socket address is 16 bytes");

// A forward lookup's answer: the address type and the host's IPv4 addresses, first one first.
struct HostEntry {
    std::uint16_t addressType = kAddressFamilyInet;
    std::vector<Ipv4Address> addresses;
};

// How long an exchange may take and how much it may bring back, so that no server can hold the
// program or fill its memory.
struct ExchangeLimits {
    std::chrono::milliseconds connectWait{10'000};
    std::chrono::milliseconds dataWait{30'000};
    std::chrono::milliseconds wholeExchange{60'000};
    std::size_t maxReplyBytes = std::size_t{1024} * 1024;
};

class ISocketLibrary {
public:
    using Socket = std::intptr_t;  // negative when no socket could be opened

    // The resolver's authoritative "no such record" (WSANO_DATA): a reverse lookup's address
    // has no name, or a forward lookup's name has no address of the family asked for (or does
    // not exist at all). Every other failure, a server that could not be asked among them,
    // leaves another code.
    static constexpr int kErrorNoData = 11004;

    virtual ~ISocketLibrary() = default;

    // WSAStartup with the requested version word: 0 on success. WSACleanup: result ignored.
    virtual int Startup(std::uint16_t versionRequested) = 0;
    virtual void Cleanup() = 0;

    // gethostbyname: the host's IPv4 addresses, or none (the reason in LastError(),
    // kErrorNoData when the resolver answered that the name has no IPv4 address).
    virtual std::optional<HostEntry> GetHostByName(const std::string& hostName) = 0;
    // gethostbyaddr: the official name of an IPv4 address, or none (the reason in LastError(),
    // kErrorNoData when the address has no name).
    virtual std::optional<std::string> GetHostByAddr(const Ipv4Address& address) = 0;
    // The same two look-ups for IPv6: the host's IPv6 addresses (AAAA), first one first, and the
    // name of an IPv6 address (ip6.arpa), with the same outcomes in LastError().
    virtual std::optional<std::vector<Ipv6Address>> GetHostByName6(const std::string& hostName) = 0;
    virtual std::optional<std::string> GetHostByAddr6(const Ipv6Address& address) = 0;

    // socket(AF_INET, SOCK_STREAM, 0), connect, send, recv and closesocket. Connect and Recv
    // give up after `wait` with the platform's time-out error; failures return -1 and leave
    // the platform's error code in LastError().
    virtual Socket OpenStreamSocket() = 0;
    virtual int Connect(Socket socket, const SocketAddressV4& address,
                        std::chrono::milliseconds wait) = 0;
    virtual int Send(Socket socket, const char* data, int length) = 0;
    virtual int Recv(Socket socket, char* buffer, int length, std::chrono::milliseconds wait) = 0;
    virtual void CloseSocket(Socket socket) = 0;

    // For a program that is closing, from any thread: every wait of Connect and Recv in
    // progress ends at once, and so does every later one, failing with the platform's
    // "cancelled" error. The resolver's look-ups cannot be interrupted.
    virtual void CancelWaits() = 0;

    // WSAGetLastError / errno of the call that failed last on the calling thread.
    virtual int LastError() = 0;

    // The bounds every exchange keeps to.
    virtual ExchangeLimits Limits() const { return {}; }
};

// The implementation for the platform the program was built for.
ISocketLibrary& PlatformSocketLibrary();

}  // namespace quorvel
