// The socket library on Windows: Windows Sockets 2 (ws2_32), with select()-bounded waits.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "SocketLibrary.h"

namespace quorvel {
namespace {

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

// The resolver's authoritative "no such record" (a name that does not exist, or has no address
// of the family asked for; an address without a name) as kErrorNoData; every other failure,
// WSATRY_AGAIN from a server that could not be asked among them, keeps its own code. The
// getaddrinfo codes are listed apart although MinGW gives them Winsock's own numbers.
int ResolverError(int error) {
    constexpr int kNoRecord[] = {WSAHOST_NOT_FOUND, WSANO_DATA, EAI_NONAME, EAI_NODATA};
    const bool noRecord =
        std::find(std::begin(kNoRecord), std::end(kNoRecord), error) != std::end(kNoRecord);
    return noRecord ? ISocketLibrary::kErrorNoData : error;
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
            m_lastError = kErrorNoData;  // the resolver would read a shorter name
            return std::nullopt;
        }
        const hostent* host = ::gethostbyname(hostName.c_str());
        if (host == nullptr) {
            m_lastError = ResolverError(::WSAGetLastError());
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
        m_lastError = ResolverError(::WSAGetLastError());
        return std::nullopt;
    }

    // IPv6 names go through getaddrinfo/getnameinfo, which Windows XP's ws2_32 has; the
    // hostent calls know IPv4 alone.
    std::optional<std::vector<Ipv6Address>> GetHostByName6(const std::string& hostName) override {
        if (hostName.find('\0') != std::string::npos) {
            m_lastError = kErrorNoData;  // the resolver would read a shorter name
            return std::nullopt;
        }
        addrinfo hints{};
        hints.ai_family = AF_INET6;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const int result = ::getaddrinfo(hostName.c_str(), nullptr, &hints, &found);
        if (result != 0) {
            m_lastError = ResolverError(result);
            return std::nullopt;
        }
        std::vector<Ipv6Address> addresses;
        for (const addrinfo* info = found; info != nullptr; info = info->ai_next) {
            if (info->ai_family == AF_INET6 && info->ai_addrlen >= sizeof(sockaddr_in6)) {
                sockaddr_in6 native{};
                std::memcpy(&native, info->ai_addr, sizeof native);
                Ipv6Address address{};
                std::memcpy(address.data(), &native.sin6_addr, address.size());
                addresses.push_back(address);
            }
        }
        ::freeaddrinfo(found);
        return addresses;
    }

    std::optional<std::string> GetHostByAddr6(const Ipv6Address& address) override {
        sockaddr_in6 native{};
        native.sin6_family = AF_INET6;
        std::memcpy(&native.sin6_addr, address.data(), address.size());
        char name[NI_MAXHOST] = {};
        const int result = ::getnameinfo(reinterpret_cast<const sockaddr*>(&native), sizeof native,
                                         name, sizeof name, nullptr, 0, NI_NAMEREQD);
        if (result != 0) {
            m_lastError = ResolverError(result);
            return std::nullopt;
        }
        return std::string(name);
    }

    Socket OpenStreamSocket() override {
        const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
        if (socket == INVALID_SOCKET) {
            m_lastError = ::WSAGetLastError();
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
            fd_set writable;
            fd_set failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(native, &writable);
            FD_SET(native, &failed);
            timeval timeout = ToTimeval(wait);
            const int ready = ::select(0, nullptr, &writable, &failed, &timeout);
            if (ready <= 0) {
                return Fail(ready == 0 ? WSAETIMEDOUT : ::WSAGetLastError());
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
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(native, &readable);
        timeval timeout = ToTimeval(wait);
        const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
        if (ready <= 0) {
            return Fail(ready == 0 ? WSAETIMEDOUT : ::WSAGetLastError());
        }
        const int received = ::recv(native, buffer, length, 0);
        return received == SOCKET_ERROR ? Fail(::WSAGetLastError()) : received;
    }

    void CloseSocket(Socket socket) override { ::closesocket(static_cast<SOCKET>(socket)); }

    int LastError() override { return m_lastError; }

private:
    static bool SetNonBlocking(SOCKET socket, bool nonBlocking) {
        u_long mode = nonBlocking ? 1 : 0;
        return ::ioctlsocket(socket, static_cast<long>(FIONBIO), &mode) == 0;
    }

    int Fail(int error) {
        m_lastError = error;
        return -1;
    }

    int m_lastError = 0;
};

}  // namespace

ISocketLibrary& PlatformSocketLibrary() {
    static WinsockSocketLibrary library;
    return library;
}

}  // namespace quorvel
