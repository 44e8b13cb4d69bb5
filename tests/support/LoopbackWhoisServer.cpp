#include "LoopbackWhoisServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace quorvel::testing {
namespace {

sockaddr_in LoopbackAddress(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t BoundPort(int fd) {
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length);
    return ntohs(bound.sin_port);
}

int BindLoopback() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = LoopbackAddress(0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        throw std::runtime_error("cannot bind a loopback port");
    }
    return fd;
}

}  // namespace

LoopbackWhoisServer::LoopbackWhoisServer(ServerBehaviour behaviour)
    : m_behaviour(std::move(behaviour)) {
    m_listener = BindLoopback();
    if (::listen(m_listener, 8) != 0 || ::pipe(m_stopPipe) != 0) {
        throw std::runtime_error("cannot listen on a loopback port");
    }
    m_port = BoundPort(m_listener);
    m_thread = std::thread([this] { Serve(); });
}

LoopbackWhoisServer::~LoopbackWhoisServer() {
    const char stop = 's';
    static_cast<void>(::write(m_stopPipe[1], &stop, 1));
    m_thread.join();
    ::close(m_listener);
    ::close(m_stopPipe[0]);
    ::close(m_stopPipe[1]);
}

std::uint16_t LoopbackWhoisServer::UnusedPort() {
    const int fd = BindLoopback();
    const std::uint16_t port = BoundPort(fd);
    ::close(fd);
    return port;
}

std::vector<std::string> LoopbackWhoisServer::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

// True when the test is over; otherwise waits up to `wait` for that.
bool LoopbackWhoisServer::StopRequested(std::chrono::milliseconds wait) {
    pollfd stop{m_stopPipe[0], POLLIN, 0};
    return ::poll(&stop, 1, static_cast<int>(wait.count())) > 0;
}

void LoopbackWhoisServer::Serve() {
    for (;;) {
        pollfd ready[2] = {{m_stopPipe[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        if (::poll(ready, 2, -1) < 0 || (ready[0].revents & POLLIN) != 0) {
            return;
        }
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0) {
            Answer(connection);
            ::close(connection);
        }
    }
}

void LoopbackWhoisServer::Answer(int connection) {
    std::string request;
    char byte = 0;
    while (request.find('\n') == std::string::npos && ::recv(connection, &byte, 1, 0) == 1) {
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
                pollfd gone{connection, POLLIN, 0};
                if (::poll(&gone, 1, 0) > 0) {
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
            const linger abort{1, 0};  // close with RST instead of FIN
            ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            break;
        }
    }
}

// Sends in the scripted chunks; false once the client has gone or the test is over.
bool LoopbackWhoisServer::SendAll(int connection, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        if (m_behaviour.chunkDelay.count() > 0 && StopRequested(m_behaviour.chunkDelay)) {
            return false;
        }
        const std::size_t chunk = std::min(m_behaviour.chunkSize, bytes.size() - sent);
        const ssize_t written = ::send(connection, bytes.data() + sent, chunk, MSG_NOSIGNAL);
        if (written <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    return !StopRequested(std::chrono::milliseconds(0));
}

}  // namespace quorvel::testing
