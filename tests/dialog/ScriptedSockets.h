// A socket library for the window's tests: starts and stops as told, answers reverse lookups
// from a script, and reaches no network. One address answers slowly, calling back while it
// holds the window's thread, as a slow name server would.
#pragma once

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

    std::optional<HostEntry> GetHostByName(const std::string&) override {
        m_lastError = kErrorHostNotFound;
        return std::nullopt;
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

    // No test here reaches a registry.
    Socket OpenStreamSocket() override {
        m_lastError = kErrorNetworkDown;
        return -1;
    }
    int Connect(Socket, const SocketAddressV4&, std::chrono::milliseconds) override { return -1; }
    int Send(Socket, const char*, int) override { return -1; }
    int Recv(Socket, char*, int, std::chrono::milliseconds) override { return -1; }
    void CloseSocket(Socket) override {}
    int LastError() override { return m_lastError; }

private:
    static constexpr int kErrorHostNotFound = 11001;
    static constexpr int kErrorNetworkDown = 10050;
    int m_lastError = 0;
};

}  // namespace quorvel
