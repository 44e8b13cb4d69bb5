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
#include <atomic>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
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
    native.sin_family = static_cast<sa_family_t>(address.family);
    native.sin_port = address.portNetworkOrder;
    std::memcpy(&native.sin_addr, address.address.data(), address.address.size());
    return native;
}

// Waits until `events` are ready on the socket, `wait` at most, unless the waits are cancelled.
WaitResult WaitFor(int fd, short events, std::chrono::milliseconds wait,
                   const std::atomic<bool>& cancelled) {
    return WaitInSlices(
        wait, cancelled,
        [fd, events](std::chrono::milliseconds slice) {
            pollfd entry{fd, events, 0};
            return ::poll(&entry, 1, static_cast<int>(slice.count()));
        },
        [] { return errno == EINTR; });
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
        std::optional<std::vector<Ipv4Address>> addresses =
            LookUpIpv4Addresses(hostName, t_lastError);
        if (!addresses) {
            return std::nullopt;
        }
        HostEntry entry;
        entry.addresses = std::move(*addresses);
        return entry;
    }

    std::optional<std::string> GetHostByAddr(const Ipv4Address& address) override {
        return LookUpIpv4Name(address, t_lastError);
    }

    std::optional<std::vector<Ipv6Address>> GetHostByName6(const std::string& hostName) override {
        return LookUpIpv6Addresses(hostName, t_lastError);
    }

    std::optional<std::string> GetHostByAddr6(const Ipv6Address& address) override {
        return LookUpIpv6Name(address, t_lastError);
    }

    Socket OpenStreamSocket() override {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            t_lastError = errno;
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
            const WaitResult ready = WaitFor(fd, POLLOUT, wait, m_waitsCancelled);
            if (ready != WaitResult::Ready) {
                return Fail(WaitErrorCode(ready, errno));
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
        const WaitResult ready = WaitFor(fd, POLLIN, wait, m_waitsCancelled);
        if (ready != WaitResult::Ready) {
            return Fail(WaitErrorCode(ready, errno));
        }
        ssize_t received = 0;
        do {
            received = ::recv(fd, buffer, static_cast<size_t>(length), 0);
        } while (received < 0 && errno == EINTR);
        return received < 0 ? Fail(errno) : static_cast<int>(received);
    }

    void CloseSocket(Socket socket) override { ::close(static_cast<int>(socket)); }

    void CancelWaits() override { m_waitsCancelled = true; }

    int LastError() override { return t_lastError; }

private:
    int Fail(int error) {
        t_lastError = error;
        return -1;
    }

    std::atomic<bool> m_waitsCancelled{false};
};

}  // namespace

ISocketLibrary& PlatformSocketLibrary() {
    static BsdSocketLibrary library;
    return library;
}

}  // namespace quorvel
