#include "FakeSocketLibrary.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "PlatformErrors.h"

namespace quorvel::testing {
namespace {

constexpr int kErrorBadSocket = 10038;

// LastError is the error of the calling thread's last failed call, as on the platforms.
thread_local int t_lastError = 0;

}  // namespace

void FakeSocketLibrary::AddServer(const std::string& host) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    if (IsServer(host)) {
        return;
    }
    // Each server gets its own loopback address; the fake never connects anywhere.
    const auto index = static_cast<std::uint8_t>(m_servers.size() + 1);
    Server server;
    server.host = host;
    server.address = Ipv4Address{127, 1, 0, index};
    m_servers.push_back(std::move(server));
}

FakeSocketLibrary::Server& FakeSocketLibrary::ServerNamed(const std::string& host) {
    AddServer(host);
    for (Server& server : m_servers) {
        if (server.host == host) {
            return server;
        }
    }
    throw std::logic_error("server was just added");
}

void FakeSocketLibrary::SetReply(const std::string& host, const std::string& query,
                                 std::string reply) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    ServerNamed(host).replies[query] = std::move(reply);
}

void FakeSocketLibrary::SetDefaultReply(const std::string& host, std::string reply) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    ServerNamed(host).defaultReply = std::move(reply);
}

void FakeSocketLibrary::SetFailure(const std::string& host, Failure failure, int errorCode) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    Server& server = ServerNamed(host);
    server.failure = failure;
    server.errorCode = errorCode;
}

void FakeSocketLibrary::AddHostName(const std::string& name, std::vector<Ipv4Address> addresses) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_hostNames[name] = std::move(addresses);
}

void FakeSocketLibrary::AddHostName6(const std::string& name, std::vector<Ipv6Address> addresses) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_hostNames6[name] = std::move(addresses);
}

void FakeSocketLibrary::AddReverseName(const Ipv4Address& address, const std::string& name) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_reverseNames[address] = name;
}

void FakeSocketLibrary::AddReverseName6(const Ipv6Address& address, const std::string& name) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_reverseNames6[address] = name;
}

int FakeSocketLibrary::Startup(std::uint16_t versionRequested) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_startupVersions.push_back(versionRequested);
    return m_startupResult;
}

bool FakeSocketLibrary::IsServer(const std::string& host) const {
    return std::any_of(m_servers.begin(), m_servers.end(),
                       [&](const Server& server) { return server.host == host; });
}

template <typename Address>
std::optional<std::vector<Address>> FakeSocketLibrary::Forward(
    const std::map<std::string, std::vector<Address>>& names, const std::string& hostName) {
    // A resolver that could not be asked still leaves the registry servers reachable.
    if (m_forwardError && !IsServer(hostName)) {
        t_lastError = *m_forwardError;
        return std::nullopt;
    }
    const auto found = names.find(hostName);
    if (found == names.end()) {
        t_lastError = kErrorNoData;
        return std::nullopt;
    }
    return found->second;
}

template <typename Address>
std::optional<std::string> FakeSocketLibrary::Reverse(const std::map<Address, std::string>& names,
                                                      const Address& address) {
    if (m_reverseHook) {
        m_reverseHook();  // not under the lock: it may hold this thread as long as it likes
    }
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    ++m_resolverCalls;
    const auto found = names.find(address);
    if (found == names.end()) {
        t_lastError = m_reverseError;
        return std::nullopt;
    }
    return found->second;
}

std::optional<HostEntry> FakeSocketLibrary::GetHostByName(const std::string& hostName) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_resolvedNames.push_back(hostName);
    ++m_resolverCalls;
    for (const Server& server : m_servers) {
        if (server.host == hostName) {
            return HostEntry{kAddressFamilyInet, {server.address}};
        }
    }
    std::optional<std::vector<Ipv4Address>> addresses = Forward(m_hostNames, hostName);
    if (!addresses) {
        return std::nullopt;
    }
    return HostEntry{kAddressFamilyInet, std::move(*addresses)};
}

std::optional<std::vector<Ipv6Address>> FakeSocketLibrary::GetHostByName6(
    const std::string& hostName) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    ++m_resolverCalls;
    return Forward(m_hostNames6, hostName);
}

std::optional<std::string> FakeSocketLibrary::GetHostByAddr(const Ipv4Address& address) {
    return Reverse(m_reverseNames, address);
}

std::optional<std::string> FakeSocketLibrary::GetHostByAddr6(const Ipv6Address& address) {
    return Reverse(m_reverseNames6, address);
}

ISocketLibrary::Socket FakeSocketLibrary::OpenStreamSocket() {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    ++m_openSockets;
    const Socket socket = m_nextSocket++;
    m_connections[socket] = Connection{};
    return socket;
}

FakeSocketLibrary::Server* FakeSocketLibrary::ServerAt(const Ipv4Address& address) {
    for (Server& server : m_servers) {
        if (server.address == address) {
            return &server;
        }
    }
    return nullptr;
}

int FakeSocketLibrary::LastError() {
    return t_lastError;
}

int FakeSocketLibrary::Fail(int errorCode) {
    t_lastError = errorCode;
    return -1;
}

int FakeSocketLibrary::Connect(Socket socket, const SocketAddressV4& address,
                               std::chrono::milliseconds) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    Server* server = ServerAt(address.address);
    unsigned char port[2] = {};
    std::memcpy(port, &address.portNetworkOrder, sizeof port);
    const bool rightPort = port[0] == 0 && port[1] == 43;  // whois, in network byte order
    if (server == nullptr || !rightPort || address.family != kAddressFamilyInet) {
        return Fail(10061);  // nobody listens there: connection refused
    }
    if (server->failure == Failure::Connect) {
        return Fail(server->errorCode);
    }
    if (m_waitsCancelled) {
        return Fail(kErrorCancelled);
    }
    m_connections.at(socket).server = server;
    ++server->openNow;
    server->mostOpen = std::max(server->mostOpen, server->openNow);
    return 0;
}

int FakeSocketLibrary::Send(Socket socket, const char* data, int length) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    Connection& connection = m_connections.at(socket);
    if (connection.server == nullptr) {
        return Fail(kErrorBadSocket);
    }
    Server& server = *connection.server;
    const std::string bytes(data, static_cast<std::size_t>(length));
    m_requests.push_back({server.host, bytes});
    if (server.failure == Failure::Send) {
        return Fail(server.errorCode);
    }
    // The query is the request line without its " \r\n".
    const std::string query = bytes.size() >= 3 ? bytes.substr(0, bytes.size() - 3) : bytes;
    const auto reply = server.replies.find(query);
    if (reply != server.replies.end()) {
        connection.pending = reply->second;
    } else if (server.defaultReply) {
        connection.pending = *server.defaultReply;
    }
    const auto delay = server.replyDelays.find(query);
    if (delay != server.replyDelays.end()) {
        connection.delay = delay->second;
    }
    return length;
}

// A server that takes its time before it answers, as long as the waits are not cancelled.
void FakeSocketLibrary::WaitOutReplyDelay(Socket socket) {
    std::chrono::milliseconds delay{0};
    {
        const std::lock_guard<std::recursive_mutex> lock(m_mutex);
        std::swap(delay, m_connections.at(socket).delay);
    }
    const auto end = std::chrono::steady_clock::now() + delay;
    while (!m_waitsCancelled && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int FakeSocketLibrary::Recv(Socket socket, char* buffer, int length, std::chrono::milliseconds) {
    WaitOutReplyDelay(socket);
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    Connection& connection = m_connections.at(socket);
    if (connection.server == nullptr) {
        return Fail(kErrorBadSocket);
    }
    if (connection.server->failure == Failure::Recv) {
        return Fail(connection.server->errorCode);
    }
    if (m_waitsCancelled) {
        return Fail(kErrorCancelled);
    }
    const std::size_t count = std::min({connection.pending.size(), static_cast<std::size_t>(length),
                                        static_cast<std::size_t>(m_chunkSize)});
    std::copy_n(connection.pending.begin(), count, buffer);
    connection.pending.erase(0, count);
    return static_cast<int>(count);
}

void FakeSocketLibrary::CloseSocket(Socket socket) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    --m_openSockets;
    const auto connection = m_connections.find(socket);
    if (connection != m_connections.end() && connection->second.server != nullptr) {
        --connection->second.server->openNow;
    }
    m_connections.erase(socket);
}

void FakeSocketLibrary::SetReplyDelay(const std::string& host, const std::string& query,
                                      std::chrono::milliseconds delay) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    ServerNamed(host).replyDelays[query] = delay;
}

std::vector<FakeSocketLibrary::Request> FakeSocketLibrary::Requests() const {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return m_requests;
}

int FakeSocketLibrary::MostOpenAtOnce(const std::string& host) {
    const std::lock_guard<std::recursive_mutex> lock(m_mutex);
    return ServerNamed(host).mostOpen;
}

}  // namespace quorvel::testing
