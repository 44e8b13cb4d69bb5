#include "FakeSocketLibrary.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quorvel::testing {
namespace {

constexpr int kErrorBadSocket = 10038;

}  // namespace

void FakeSocketLibrary::AddServer(const std::string& host) {
    if (IsServer(host)) {
        return;
    }
    // Each server gets its own loopback address; the fake never connects anywhere.
    const auto index = static_cast<std::uint8_t>(m_servers.size() + 1);
    m_servers.push_back(Server{host, Ipv4Address{127, 1, 0, index}, {}, {}, Failure::None, 0});
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
    ServerNamed(host).replies[query] = std::move(reply);
}

void FakeSocketLibrary::SetDefaultReply(const std::string& host, std::string reply) {
    ServerNamed(host).defaultReply = std::move(reply);
}

void FakeSocketLibrary::SetFailure(const std::string& host, Failure failure, int errorCode) {
    Server& server = ServerNamed(host);
    server.failure = failure;
    server.errorCode = errorCode;
}

void FakeSocketLibrary::AddHostName(const std::string& name, std::vector<Ipv4Address> addresses) {
    m_hostNames[name] = std::move(addresses);
}

void FakeSocketLibrary::AddHostName6(const std::string& name, std::vector<Ipv6Address> addresses) {
    m_hostNames6[name] = std::move(addresses);
}

void FakeSocketLibrary::AddReverseName(const Ipv4Address& address, const std::string& name) {
    m_reverseNames[address] = name;
}

void FakeSocketLibrary::AddReverseName6(const Ipv6Address& address, const std::string& name) {
    m_reverseNames6[address] = name;
}

int FakeSocketLibrary::Startup(std::uint16_t versionRequested) {
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
        m_lastError = *m_forwardError;
        return std::nullopt;
    }
    const auto found = names.find(hostName);
    if (found == names.end()) {
        m_lastError = kErrorNoData;
        return std::nullopt;
    }
    return found->second;
}

template <typename Address>
std::optional<std::string> FakeSocketLibrary::Reverse(const std::map<Address, std::string>& names,
                                                      const Address& address) {
    ++m_resolverCalls;
    if (m_reverseHook) {
        m_reverseHook();
    }
    const auto found = names.find(address);
    if (found == names.end()) {
        m_lastError = m_reverseError;
        return std::nullopt;
    }
    return found->second;
}

std::optional<HostEntry> FakeSocketLibrary::GetHostByName(const std::string& hostName) {
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

int FakeSocketLibrary::Fail(int errorCode) {
    m_lastError = errorCode;
    return -1;
}

int FakeSocketLibrary::Connect(Socket socket, const SocketAddressV4& address,
                               std::chrono::milliseconds) {
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
    m_connections.at(socket).server = server;
    return 0;
}

int FakeSocketLibrary::Send(Socket socket, const char* data, int length) {
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
    return length;
}

int FakeSocketLibrary::Recv(Socket socket, char* buffer, int length, std::chrono::milliseconds) {
    Connection& connection = m_connections.at(socket);
    if (connection.server == nullptr) {
        return Fail(kErrorBadSocket);
    }
    if (connection.server->failure == Failure::Recv) {
        return Fail(connection.server->errorCode);
    }
    const std::size_t count = std::min({connection.pending.size(), static_cast<std::size_t>(length),
                                        static_cast<std::size_t>(m_chunkSize)});
    std::copy_n(connection.pending.begin(), count, buffer);
    connection.pending.erase(0, count);
    return static_cast<int>(count);
}

void FakeSocketLibrary::CloseSocket(Socket socket) {
    --m_openSockets;
    m_connections.erase(socket);
}

}  // namespace quorvel::testing
