// The socket library on Linux and other BSD-socket systems: getaddrinfo/getnameinfo for names,
// IPv4 TCP streams with poll()-bounded waits. There is no library to start or clean up.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "SocketLibrary.h"

namespace quorvel {
namespace {

sockaddr_in ToSockaddr(const SocketAddressV4& address) {
    sockaddr_in native{};
    native.sin_family = static_cast<sa_family_t>(address.family);
    native.sin_port = address.portNetworkOrder;
    std::memcpy(&native.sin_addr, address.address.data(), address.address.size());
    return native;
}

// Waits until `events` are ready on the socket: 1 when ready, 0 after `wait`, -1 on error.
int WaitFor(int fd, short events, std::chrono::milliseconds wait) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + wait;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready >= 0 || errno != EINTR) {
            return ready;
        }
    }
}

// The resolver's authoritative "no such record" (a name that does not exist, or has no address
// of the family asked for; an address without a name) as kErrorNoData; every other failure,
// EAI_AGAIN from a server that could not be asked among them, keeps its own code.
int ResolverError(int eaiCode) {
#ifdef EAI_NODATA
    if (eaiCode == EAI_NODATA) {
        return ISocketLibrary::kErrorNoData;
    }
#endif
    return eaiCode == EAI_NONAME ? ISocketLibrary::kErrorNoData : eaiCode;
}

bool SetNonBlocking(int fd, bool nonBlocking) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags < 0) {
        return false;
    }
    const int wanted = nonBlocking ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, wanted) == 0;
}

class BsdSocketLibrary final : public ISocketLibrary {
public:
    int Startup(std::uint16_t) override { return 0; }
    void Cleanup() override {}

    std::optional<HostEntry> GetHostByName(const std::string& hostName) override {
        HostEntry entry;
        if (!ForEachAddress<sockaddr_in>(hostName, AF_INET, [&](const sockaddr_in& native) {
                Ipv4Address address{};
                std::memcpy(address.data(), &native.sin_addr, address.size());
                entry.addresses.push_back(address);
            })) {
            return std::nullopt;
        }
        return entry;
    }

    std::optional<std::vector<Ipv6Address>> GetHostByName6(const std::string& hostName) override {
        std::vector<Ipv6Address> addresses;
        if (!ForEachAddress<sockaddr_in6>(hostName, AF_INET6, [&](const sockaddr_in6& native) {
                Ipv6Address address{};
                std::memcpy(address.data(), &native.sin6_addr, address.size());
                addresses.push_back(address);
            })) {
            return std::nullopt;
        }
        return addresses;
    }

    std::optional<std::string> GetHostByAddr(const Ipv4Address& address) override {
        SocketAddressV4 socketAddress;
        socketAddress.family = AF_INET;
        socketAddress.address = address;
        return NameOf(ToSockaddr(socketAddress));
    }

    std::optional<std::string> GetHostByAddr6(const Ipv6Address& address) override {
        sockaddr_in6 native{};
        native.sin6_family = AF_INET6;
        std::memcpy(&native.sin6_addr, address.data(), address.size());
        return NameOf(native);
    }

    Socket OpenStreamSocket() override {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            m_lastError = errno;
        }
        return fd;
    }

    int Connect(Socket socket, const SocketAddressV4& address,
                std::chrono::milliseconds wait) override {
        const int fd = static_cast<int>(socket);
        const sockaddr_in native = ToSockaddr(address);
        if (!SetNonBlocking(fd, true)) {
            return Fail(errno);
        }
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&native), sizeof native) != 0) {
            if (errno != EINPROGRESS) {
                return Fail(errno);
            }
            const int ready = WaitFor(fd, POLLOUT, wait);
            if (ready <= 0) {
                return Fail(ready == 0 ? ETIMEDOUT : errno);
            }
            int error = 0;
            socklen_t length = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
                return Fail(errno);
            }
            if (error != 0) {
                return Fail(error);
            }
        }
        return SetNonBlocking(fd, false) ? 0 : Fail(errno);
    }

    int Send(Socket socket, const char* data, int length) override {
        // MSG_NOSIGNAL: a server that has gone away is a send() failure, not a SIGPIPE.
        const ssize_t sent =
            ::send(static_cast<int>(socket), data, static_cast<size_t>(length), MSG_NOSIGNAL);
        return sent < 0 ? Fail(errno) : static_cast<int>(sent);
    }

    int Recv(Socket socket, char* buffer, int length, std::chrono::milliseconds wait) override {
        const int fd = static_cast<int>(socket);
        const int ready = WaitFor(fd, POLLIN, wait);
        if (ready <= 0) {
            return Fail(ready == 0 ? ETIMEDOUT : errno);
        }
        ssize_t received = 0;
        do {
            received = ::recv(fd, buffer, static_cast<size_t>(length), 0);
        } while (received < 0 && errno == EINTR);
        return received < 0 ? Fail(errno) : static_cast<int>(received);
    }

    void CloseSocket(Socket socket) override { ::close(static_cast<int>(socket)); }

    int LastError() override { return m_lastError; }

private:
    // Calls `take` with each stream address of `family` the resolver gives for the name, first
    // one first. False when the look-up failed, the reason in m_lastError.
    template <typename Native, typename Take>
    bool ForEachAddress(const std::string& hostName, int family, Take take) {
        if (hostName.find('\0') != std::string::npos) {
            m_lastError = kErrorNoData;  // the resolver would read a different, shorter name
            return false;
        }
        // Neither AI_ADDRCONFIG, which refuses IPv6 look-ups on a host whose only IPv6 address
        // is ::1, nor AF_UNSPEC: each look-up asks for its own family alone.
        addrinfo hints{};
        hints.ai_family = family;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const int result = ::getaddrinfo(hostName.c_str(), nullptr, &hints, &found);
        if (result != 0) {
            m_lastError = ResolverError(result);
            return false;
        }
        for (const addrinfo* info = found; info != nullptr; info = info->ai_next) {
            if (info->ai_family == family && info->ai_addrlen >= sizeof(Native)) {
                Native native{};
                std::memcpy(&native, info->ai_addr, sizeof native);
                take(native);
            }
        }
        ::freeaddrinfo(found);
        return true;
    }

    // The name an address has, or none with the reason in m_lastError.
    template <typename Native>
    std::optional<std::string> NameOf(const Native& native) {
        char name[NI_MAXHOST] = {};
        const int result = ::getnameinfo(reinterpret_cast<const sockaddr*>(&native), sizeof native,
                                         name, sizeof name, nullptr, 0, NI_NAMEREQD);
        if (result != 0) {
            m_lastError = ResolverError(result);
            return std::nullopt;
        }
        return std::string(name);
    }

    int Fail(int error) {
        m_lastError = error;
        return -1;
    }

    int m_lastError = 0;
};

}  // namespace

ISocketLibrary& PlatformSocketLibrary() {
    static BsdSocketLibrary library;
    return library;
}

}  // namespace quorvel
