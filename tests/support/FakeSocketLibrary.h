// An in-memory socket library: a scripted resolver and scripted whois servers, with every
// request recorded. Nothing touches the network. Lookups may use it from several threads at once;
// the scripting and the records are for the test's own thread, before and after.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "SocketLibrary.h"

namespace quorvel::testing {

class FakeSocketLibrary : public ISocketLibrary {
public:
    // The step of every exchange at which a server fails (SetFailure), whatever was asked. A
    // server that does not fail answers a query it has no reply for with nothing: it closes.
    enum class Failure { None, Connect, Send, Recv };

    struct Request {
        std::string serverHost;
        std::string bytes;  // as sent, with its " \r\n"
        bool operator==(const Request& other) const {
            return serverHost == other.serverHost && bytes == other.bytes;
        }
    };

    // A whois server reachable under `host`. Its replies are keyed by the query text.
    void AddServer(const std::string& host);
    void SetReply(const std::string& host, const std::string& query, std::string reply);
    // The reply for every query `host` has no scripted reply for.
    void SetDefaultReply(const std::string& host, std::string reply);
    // The server waits this long before it answers `query`.
    void SetReplyDelay(const std::string& host, const std::string& query,
                       std::chrono::milliseconds delay);
    // The server fails this step of every exchange with `errorCode`.
    void SetFailure(const std::string& host, Failure failure, int errorCode);

    // Destinations: forward names and reverse names of both families. Other names and
    // addresses answer kErrorNoData, or the error set here: SetForwardError for every forward
    // look-up of a name that is not a registry server (a resolver that could not be asked),
    // SetReverseError for every reverse look-up of an address without a name.
    void AddHostName(const std::string& name, std::vector<Ipv4Address> addresses);
    void AddHostName6(const std::string& name, std::vector<Ipv6Address> addresses);
    void AddReverseName(const Ipv4Address& address, const std::string& name);
    void AddReverseName6(const Ipv6Address& address, const std::string& name);
    void SetForwardError(int errorCode) { m_forwardError = errorCode; }
    void SetReverseError(int errorCode) { m_reverseError = errorCode; }
    // Runs as each reverse lookup (either family) begins, on the caller's thread, which it can
    // hold there as a slow name server would.
    void SetReverseLookupHook(std::function<void()> hook) { m_reverseHook = std::move(hook); }

    // Replies are handed out at most this many bytes per Recv (the client asks for 100).
    void SetChunkSize(int bytes) { m_chunkSize = bytes; }
    void SetStartupResult(int result) { m_startupResult = result; }
    void SetLimits(const ExchangeLimits& limits) { m_limits = limits; }

    // A copy, which a test may also take while lookups run (to wait for a request).
    std::vector<Request> Requests() const;
    // The names GetHostByName was asked for; ResolverCalls counts the look-ups of all four kinds.
    std::vector<std::string> ResolvedNames() const { return m_resolvedNames; }
    int Startups() const { return static_cast<int>(m_startupVersions.size()); }
    const std::vector<std::uint16_t>& StartupVersions() const { return m_startupVersions; }
    int Cleanups() const { return m_cleanups; }
    int OpenSockets() const { return m_openSockets; }
    int ResolverCalls() const { return m_resolverCalls; }
    // The most connections that were ever open to `host` at once.
    int MostOpenAtOnce(const std::string& host);

    int Startup(std::uint16_t versionRequested) override;
    void Cleanup() override { ++m_cleanups; }
    std::optional<HostEntry> GetHostByName(const std::string& hostName) override;
    std::optional<std::string> GetHostByAddr(const Ipv4Address& address) override;
    std::optional<std::vector<Ipv6Address>> GetHostByName6(const std::string& hostName) override;
    std::optional<std::string> GetHostByAddr6(const Ipv6Address& address) override;
    Socket OpenStreamSocket() override;
    int Connect(Socket socket, const SocketAddressV4& address,
                std::chrono::milliseconds wait) override;
    int Send(Socket socket, const char* data, int length) override;
    int Recv(Socket socket, char* buffer, int length, std::chrono::milliseconds wait) override;
    void CloseSocket(Socket socket) override;
    // Later connects and receives fail as cancelled; from any thread.
    void CancelWaits() override { m_waitsCancelled = true; }
    int LastError() override;
    ExchangeLimits Limits() const override { return m_limits; }

private:
    struct Server {
        std::string host;
        Ipv4Address address;
        std::map<std::string, std::string> replies;
        std::optional<std::string> defaultReply;
        std::map<std::string, std::chrono::milliseconds> replyDelays;
        Failure failure = Failure::None;
        int errorCode = 0;
        int openNow = 0;
        int mostOpen = 0;
    };
    struct Connection {
        Server* server = nullptr;
        std::string pending;  // reply bytes not yet received
        std::chrono::milliseconds delay{0};
        bool open = true;
    };

    Server* ServerAt(const Ipv4Address& address);
    Server& ServerNamed(const std::string& host);
    bool IsServer(const std::string& host) const;
    // The answers of the scripted resolver for names that are not servers, and for addresses.
    template <typename Address>
    std::optional<std::vector<Address>> Forward(
        const std::map<std::string, std::vector<Address>>& names, const std::string& hostName);
    template <typename Address>
    std::optional<std::string> Reverse(const std::map<Address, std::string>& names,
                                       const Address& address);
    int Fail(int errorCode);
    void WaitOutReplyDelay(Socket socket);

    mutable std::recursive_mutex m_mutex;
    std::vector<Server> m_servers;
    std::map<std::string, std::vector<Ipv4Address>> m_hostNames;
    std::map<std::string, std::vector<Ipv6Address>> m_hostNames6;
    std::map<Ipv4Address, std::string> m_reverseNames;
    std::map<Ipv6Address, std::string> m_reverseNames6;
    std::map<Socket, Connection> m_connections;
    std::vector<Request> m_requests;
    std::vector<std::string> m_resolvedNames;
    int m_resolverCalls = 0;
    std::optional<int> m_forwardError;
    int m_reverseError = kErrorNoData;
    std::function<void()> m_reverseHook;
    int m_chunkSize = 100;
    int m_startupResult = 0;
    std::vector<std::uint16_t> m_startupVersions;
    int m_cleanups = 0;
    int m_openSockets = 0;
    std::atomic<bool> m_waitsCancelled{false};
    Socket m_nextSocket = 3;
    ExchangeLimits m_limits;
};

}  // namespace quorvel::testing
