#include "LoopbackSocketLibrary.h"

#include <cstring>

namespace quorvel::testing {
namespace {

std::uint16_t NetworkOrder(std::uint16_t port) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(port >> 8),
                                    static_cast<unsigned char>(port & 0xFFu)};
    std::uint16_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// The resolver's answer of this stand-in, for each thread; 0 leaves the real library's own.
thread_local int t_lastError = 0;

}  // namespace

std::nullopt_t LoopbackSocketLibrary::NoData() {
    t_lastError = kErrorNoData;
    return std::nullopt;
}

int LoopbackSocketLibrary::LastError() {
    return t_lastError != 0 ? t_lastError : m_real.LastError();
}

void LoopbackSocketLibrary::Route(const std::string& host, std::uint16_t port) {
    const Ipv4Address address{127, 0, 0, static_cast<std::uint8_t>(m_hosts.size() + 2)};
    m_hosts[host] = address;
    m_ports[address] = port;
}

std::optional<HostEntry> LoopbackSocketLibrary::GetHostByName(const std::string& hostName) {
    const auto found = m_hosts.find(hostName);
    if (found == m_hosts.end()) {
        return NoData();
    }
    t_lastError = 0;
    return HostEntry{kAddressFamilyInet, {found->second}};
}

int LoopbackSocketLibrary::Connect(Socket socket, const SocketAddressV4& address,
                                   std::chrono::milliseconds wait) {
    t_lastError = 0;
    SocketAddressV4 target = address;
    const auto port = m_ports.find(address.address);
    if (port != m_ports.end()) {
        target.address = Ipv4Address{127, 0, 0, 1};
        target.portNetworkOrder = NetworkOrder(port->second);
    }
    return m_real.Connect(socket, target, wait);
}

}  // namespace quorvel::testing
