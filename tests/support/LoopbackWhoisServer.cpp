#include "LoopbackWhoisServer.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <stdexcept>

namespace quorvel::testing {
namespace {

// The few calls that differ between Winsock and BSD sockets.
#ifdef _WIN32
using NativeSocket = SOCKET;
int CloseNative(NativeSocket socket) {
    return ::closesocket(socket);
}
int PollNative(pollfd* sockets, unsigned count, int waitMs) {
    return ::WSAPoll(sockets, count, waitMs);
}
NativeSocket OpenNative(int type) {
    return ::socket(AF_INET, type, 0);
}
NativeSocket AcceptNative(NativeSocket listener) {
    return ::accept(listener, nullptr, nullptr);
}
bool IsValid(NativeSocket socket) {
    return socket != INVALID_SOCKET;
}
long long SendNative(NativeSocket socket, const char* data, std::size_t length) {
    return ::send(socket, data, static_cast<int>(length), 0);
}
// Winsock must be started before the first socket; the start lasts as long as the tests.
void StartSocketLibrary() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    static_cast<void>(started);
}
#else
using NativeSocket = int;
int CloseNative(NativeSocket socket) {
    return ::close(socket);
}
int PollNative(pollfd* sockets, unsigned count, int waitMs) {
    return ::poll(sockets, count, waitMs);
}
NativeSocket OpenNative(int type) {
    return ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
}
NativeSocket AcceptNative(NativeSocket listener) {
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}
bool IsValid(NativeSocket socket) {
    return socket >= 0;
}
long long SendNative(NativeSocket socket, const char* data, std::size_t length) {
    return ::send(socket, data, length, MSG_NOSIGNAL);
}
void StartSocketLibrary() {}
#endif

NativeSocket Native(std::intptr_t socket) {
    return static_cast<NativeSocket>(socket);
}

sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

sockaddr_in BoundAddress(NativeSocket socket) {
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length);
    return bound;
}

NativeSocket BindLoopback(int type) {
    const NativeSocket socket = OpenNative(type);
    const sockaddr_in address = LoopbackAddress(0);
    if (!IsValid(socket) ||
        ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throw std::runtime_error("cannot bind a loopback port");
    }
    return socket;
}

bool Readable(NativeSocket socket, int waitMs) {
    pollfd ready{socket, POLLIN, 0};
    return PollNative(&ready, 1, waitMs) > 0;
}

}  // namespace

LoopbackWhoisServer::LoopbackWhoisServer(ServerBehaviour behaviour)
    : m_behaviour(std::move(behaviour)) {
    StartSocketLibrary();
    // The test's end arrives as a datagram on a loopback port of its own, which the serving
    // thread waits for beside the listener.
    m_stopReceiver = static_cast<std::intptr_t>(BindLoopback(SOCK_DGRAM));
    m_listener = static_cast<std::intptr_t>(BindLoopback(SOCK_STREAM));
    if (::listen(Native(m_listener), 8) != 0) {
        throw std::runtime_error("cannot listen on a loopback port");
    }
    m_port = ntohs(BoundAddress(Native(m_listener)).sin_port);
    m_thread = std::thread([this] { Serve(); });
}

LoopbackWhoisServer::~LoopbackWhoisServer() {
    const NativeSocket sender = OpenNative(SOCK_DGRAM);
    const sockaddr_in receiver = BoundAddress(Native(m_stopReceiver));
    ::sendto(sender, "s", 1, 0, reinterpret_cast<const sockaddr*>(&receiver), sizeof receiver);
    m_thread.join();
    for (std::thread& connectionThread : m_connectionThreads) {
        connectionThread.join();
    }
    CloseNative(sender);
    CloseNative(Native(m_listener));
    CloseNative(Native(m_stopReceiver));
}

std::uint16_t LoopbackWhoisServer::UnusedPort() {
    StartSocketLibrary();
    const NativeSocket socket = BindLoopback(SOCK_STREAM);
    const std::uint16_t port = ntohs(BoundAddress(socket).sin_port);
    CloseNative(socket);
    return port;
}

std::vector<std::string> LoopbackWhoisServer::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

int LoopbackWhoisServer::MostOpenAtOnce() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mostOpen;
}

// True when the test is over; otherwise waits up to `wait` for that.
bool LoopbackWhoisServer::StopRequested(std::chrono::milliseconds wait) {
    return Readable(Native(m_stopReceiver), static_cast<int>(wait.count()));
}

void LoopbackWhoisServer::Serve() {
    for (;;) {
        pollfd ready[2] = {{Native(m_stopReceiver), POLLIN, 0}, {Native(m_listener), POLLIN, 0}};
        if (PollNative(ready, 2, -1) < 0 || (ready[0].revents & POLLIN) != 0) {
            return;
        }
        const NativeSocket connection = AcceptNative(Native(m_listener));
        if (!IsValid(connection)) {
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_mostOpen = std::max(m_mostOpen, ++m_openNow);
        }
        const auto handle = static_cast<std::intptr_t>(connection);
        if (m_behaviour.concurrent) {
            m_connectionThreads.emplace_back([this, handle] { ServeConnection(handle); });
        } else {
            ServeConnection(handle);
        }
    }
}

// Counted as closed before it closes: a client that sees the end of the reply may connect
// again at once, and must not be counted twice.
void LoopbackWhoisServer::ServeConnection(std::intptr_t connection) {
    Answer(connection);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_openNow;
    }
    CloseNative(Native(connection));
}

void LoopbackWhoisServer::Answer(std::intptr_t connection) {
    const NativeSocket native = Native(connection);
    std::string request;
    char byte = 0;
    while (request.find('\n') == std::string::npos && ::recv(native, &byte, 1, 0) == 1) {
        request += byte;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
    }
    switch (m_behaviour.mode) {
        case ServerBehaviour::Mode::Reply:
            SendAll(connection, m_behaviour.reply);
            break;
        case ServerBehaviour::Mode::Silent:
            while (!StopRequested(std::chrono::milliseconds(50))) {
                if (Readable(native, 0)) {
                    break;  // the client gave up and closed
                }
            }
            break;
        case ServerBehaviour::Mode::Endless:
            while (SendAll(connection, m_behaviour.reply)) {
            }
            break;
        case ServerBehaviour::Mode::ResetMidReply: {
            SendAll(connection, m_behaviour.reply);
            linger abort{};  // close with RST instead of FIN
            abort.l_onoff = 1;
            ::setsockopt(native, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                         sizeof abort);
            break;
        }
    }
}

// Sends in the scripted chunks; false once the client has gone or the test is over.
bool LoopbackWhoisServer::SendAll(std::intptr_t connection, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        if (m_behaviour.chunkDelay.count() > 0 && StopRequested(m_behaviour.chunkDelay)) {
            return false;
        }
        const std::size_t chunk = std::min(m_behaviour.chunkSize, bytes.size() - sent);
        const long long written = SendNative(Native(connection), bytes.data() + sent, chunk);
        if (written <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return !StopRequested(std::chrono::milliseconds(0));
}

}  // namespace quorvel::testing
