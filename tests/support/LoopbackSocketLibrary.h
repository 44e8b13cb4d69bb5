// The platform's real socket library with the registries' names pointed at loopback servers:
// every exchange crosses a real TCP connection, and nothing leaves the machine. The waits can be
// shortened so that time-out cases run quickly.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SocketLibrary.h"

namespace quorvel::testing {

class LoopbackSocketLibrary : public ISocketLibrary {
public:
    LoopbackSocketLibrary() : m_real(PlatformSocketLibrary()) {}

    // `host` resolves to a loopback address whose port 43 leads to `port` on 127.0.0.1.
    void Route(const std::string& host, std::uint16_t port);
    void SetLimits(const ExchangeLimits& limits) { m_limits = limits; }

    int Startup(std::uint16_t version) override { return m_real.Startup(version); }
    void Cleanup() override { m_real.Cleanup(); }
    // Only routed names resolve, to IPv4 addresses: a test never asks the machine's resolver.
    // Everything else answers kErrorNoData.
    std::optional<HostEntry> GetHostByName(const std::string& hostName) override;
    std::optional<std::string> GetHostByAddr(const Ipv4Address&) override { return NoData(); }
    std::optional<std::vector<Ipv6Address>> GetHostByName6(const std::string&) override {
        return NoData();
    }
    std::optional<std::string> GetHostByAddr6(const Ipv6Address&) override { return NoData(); }
    Socket OpenStreamSocket() override { return m_real.OpenStreamSocket(); }
    int Connect(Socket socket, const SocketAddressV4& address,
                std::chrono::milliseconds wait) override;
    int Send(Socket socket, const char* data, int length) override {
        return m_real.Send(socket, data, length);
    }
    int Recv(Socket socket, char* buffer, int length, std::chrono::milliseconds wait) override {
        return m_real.Recv(socket, buffer, length, wait);
    }
    void CloseSocket(Socket socket) override { m_real.CloseSocket(socket); }
    void CancelWaits() override { m_real.CancelWaits(); }
    int LastError() override;
    ExchangeLimits Limits() const override { return m_limits; }

private:
    std::nullopt_t NoData();

    ISocketLibrary& m_real;
    std::map<std::string, Ipv4Address> m_hosts;
    std::map<Ipv4Address, std::uint16_t> m_ports;
    ExchangeLimits m_limits;
};

}  // namespace quorvel::testing
