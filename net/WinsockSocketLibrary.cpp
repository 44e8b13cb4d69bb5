// The socket library on Windows: Windows Sockets 2 (ws2_32), with select()-bounded waits.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "AddressLookup.h"
#include "SlicedWait.h"
#include "SocketLibrary.h"

namespace quorvel {
namespace {

// The error of the call that failed last, for each thread: lookups may run on many threads at
// once, each asking LastError about its own calls.
thread_local int t_lastError = 0;

sockaddr_in ToSockaddr(const SocketAddressV4& address) {
    sockaddr_in native{};
    native.sin_family = static_cast<short>(address.family);
    native.sin_port = address.portNetworkOrder;
    std::memcpy(&native.sin_addr, address.address.data(), address.address.size());
    return native;
}

timeval ToTimeval(std::chrono::milliseconds wait) {
    timeval value{};
    value.tv_sec = static_cast<long>(wait.count() / 1000);
    value.tv_usec = static_cast<long>((wait.count() % 1000) * 1000);
    return value;
}

class WinsockSocketLibrary final : public ISocketLibrary {
public:
    int Startup(std::uint16_t versionRequested) override {
        WSADATA data{};
        return ::WSAStartup(versionRequested, &data);
    }

    void Cleanup() override { ::WSACleanup(); }

    std::optional<HostEntry> GetHostByName(const std::string& hostName) override {
        if (hostName.find('\0') != std::string::npos) {
            t_lastError = kErrorNoData;  // the resolver would read a shorter name
            return std::nullopt;
        }
        const hostent* host = ::gethostbyname(hostName.c_str());
        if (host == nullptr) {
            t_lastError = ResolverErrorCode(::WSAGetLastError());
            return std::nullopt;
        }
        HostEntry entry;
        entry.addressType = static_cast<std::uint16_t>(host->h_addrtype);
        if (host->h_length == 4) {
            for (char** item = host->h_addr_list; *item != nullptr; ++item) {
                Ipv4Address address{};
                std::memcpy(address.data(), *item, address.size());
                entry.addresses.push_back(address);
            }
        }
        return entry;
    }

    std::optional<std::string> GetHostByAddr(const Ipv4Address& address) override {
        const hostent* host =
            ::gethostbyaddr(reinterpret_cast<const char*>(address.data()), 4, AF_INET);
        if (host != nullptr && host->h_name != nullptr) {
            return std::string(host->h_name);
        }
        t_lastError = ResolverErrorCode(::WSAGetLastError());
        return std::nullopt;
    }

    // IPv6 names go through getaddrinfo and getnameinfo, which Windows XP's ws2_32 has; the
    // hostent calls know IPv4 alone.
    std::optional<std::vector<Ipv6Address>> GetHostByName6(const std::string& hostName) override {
        return LookUpIpv6Addresses(hostName, t_lastError);
    }

    std::optional<std::string> GetHostByAddr6(const Ipv6Address& address) override {
        return LookUpIpv6Name(address, t_lastError);
    }

    Socket OpenStreamSocket() override {
        const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
        if (socket == INVALID_SOCKET) {
            t_lastError = ::WSAGetLastError();
            return -1;
        }
        return static_cast<Socket>(socket);
    }

    int Connect(Socket socket, const SocketAddressV4& address,
                std::chrono::milliseconds wait) override {
        const SOCKET native = static_cast<SOCKET>(socket);
        const sockaddr_in target = ToSockaddr(address);
        if (!SetNonBlocking(native, true)) {
            return Fail(::WSAGetLastError());
        }
        if (::connect(native, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
            const int error = ::WSAGetLastError();
            if (error != WSAEWOULDBLOCK) {
                return Fail(error);
            }
            // A refused connection shows in the failed set, an accepted one in the writable.
            const WaitResult ready = WaitFor(wait, [native](timeval* timeout) {
                fd_set writable;
                fd_set failed;
                FD_ZERO(&writable);
                FD_ZERO(&failed);
                FD_SET(native, &writable);
                FD_SET(native, &failed);
                return ::select(0, nullptr, &writable, &failed, timeout);
            });
            if (ready != WaitResult::Ready) {
                return Fail(WaitErrorCode(ready, ::WSAGetLastError()));
            }
            int socketError = 0;
            int length = sizeof socketError;
            ::getsockopt(native, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socketError),
                         &length);
            if (socketError != 0) {
                return Fail(socketError);
            }
        }
        return SetNonBlocking(native, false) ? 0 : Fail(::WSAGetLastError());
    }

    int Send(Socket socket, const char* data, int length) override {
        const int sent = ::send(static_cast<SOCKET>(socket), data, length, 0);
        return sent == SOCKET_ERROR ? Fail(::WSAGetLastError()) : sent;
    }

    int Recv(Socket socket, char* buffer, int length, std::chrono::milliseconds wait) override {
        const SOCKET native = static_cast<SOCKET>(socket);
        const WaitResult ready = WaitFor(wait, [native](timeval* timeout) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(native, &readable);
            return ::select(0, &readable, nullptr, nullptr, timeout);
        });
        if (ready != WaitResult::Ready) {
            return Fail(WaitErrorCode(ready, ::WSAGetLastError()));
        }
        const int received = ::recv(native, buffer, length, 0);
        return received == SOCKET_ERROR ? Fail(::WSAGetLastError()) : received;
    }

    void CloseSocket(Socket socket) override { ::closesocket(static_cast<SOCKET>(socket)); }

    void CancelWaits() override { m_waitsCancelled = true; }

    int LastError() override { return t_lastError; }

private:
    // Waits with `select` (given the time-out of one slice), `wait` at most, unless the waits
    // are cancelled.
    template <typename Select>
    WaitResult WaitFor(std::chrono::milliseconds wait, Select select) const {
        return WaitInSlices(
            wait, m_waitsCancelled,
            [&select](std::chrono::milliseconds slice) {
                timeval timeout = ToTimeval(slice);
                return select(&timeout);
            },
            [] { return false; });
    }

    static bool SetNonBlocking(SOCKET socket, bool nonBlocking) {
        u_long mode = nonBlocking ? 1 : 0;
        return ::ioctlsocket(socket, static_cast<long>(FIONBIO), &mode) == 0;
    }

    int Fail(int error) {
        t_lastError = error;
        return -1;
    }

    std::atomic<bool> m_waitsCancelled{false};
};

}  // namespace

ISocketLibrary& PlatformSocketLibrary() {
    static WinsockSocketLibrary library;
    return library;
}

}  // namespace quorvel
