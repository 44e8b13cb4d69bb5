// A socket library for the window's tests: starts and stops as told, answers reverse lookups
// and whois queries from a script, and reaches no network. One address answers slowly, calling back
// while it holds the window's thread, as a slow name server would.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "SocketLibrary.h"

namespace quorvel {

class CScriptedSockets : public ISocketLibrary {
public:
    int startupResult = 0;
    std::vector<std::uint16_t> startups;
    int cleanups = 0;
    std::vector<Ipv4Address> reverseLookups;

    // The address whose reverse lookup takes `slowFor`; `whileSlow` runs as it begins.
    Ipv4Address slowAddress{};
    std::chrono::milliseconds slowFor{0};
    std::function<void()> whileSlow;
    std::string slowName = "slow.example";

    int Startup(std::uint16_t versionRequested) override {
        startups.push_back(versionRequested);
        return startupResult;
    }
    void Cleanup() override { ++cleanups; }

    // When set, every registry server resolves and answers every query with these bytes.
    std::string whoisReply;

    std::optional<HostEntry> GetHostByName(const std::string&) override {
        if (whoisReply.empty()) {
            m_lastError = kErrorHostNotFound;
            return std::nullopt;
        }
        return HostEntry{kAddressFamilyInet, {{127, 0, 0, 1}}};
    }
    std::optional<std::string> GetHostByAddr(const Ipv4Address& address) override {
        reverseLookups.push_back(address);
        if (address == slowAddress && whileSlow) {
            whileSlow();
            std::this_thread::sleep_for(slowFor);
            return slowName;
        }
        m_lastError = kErrorNoData;  // no name: the address stands as its own name
        return std::nullopt;
    }

    // The exchange never leaves this object: the reply is handed out as if received.
    Socket OpenStreamSocket() override {
        if (whoisReply.empty()) {
            m_lastError = kErrorNetworkDown;
            return -1;
        }
        m_unread = whoisReply;
        return 3;
    }
    int Connect(Socket, const SocketAddressV4&, std::chrono::milliseconds) override { return 0; }
    int Send(Socket, const char*, int length) override { return length; }
    int Recv(Socket, char* buffer, int length, std::chrono::milliseconds) override {
        const std::size_t count = std::min(m_unread.size(), static_cast<std::size_t>(length));
        m_unread.copy(buffer, count);
        m_unread.erase(0, count);
        return static_cast<int>(count);
    }
    void CloseSocket(Socket) override {}
    int LastError() override { return m_lastError; }

private:
    static constexpr int kErrorHostNotFound = 11001;
    static constexpr int kErrorNetworkDown = 10050;
    int m_lastError = 0;
    std::string m_unread;
};

}  // namespace quorvel
