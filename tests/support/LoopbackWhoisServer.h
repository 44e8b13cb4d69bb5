// A whois server on a loopback port, run on a thread of its own: it reads one request line,
// records it, and then answers as scripted (or misbehaves as scripted).
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvel::testing {

struct ServerBehaviour {
    enum class Mode {
        Reply,          // sends `reply` in chunks of `chunkSize`, `chunkDelay` apart, then closes
        Silent,         // accepts and never writes
        Endless,        // sends `reply` over and over until the client goes away
        ResetMidReply,  // sends `reply`, then resets the connection instead of closing it
    };
    Mode mode = Mode::Reply;
    std::string reply;
    std::size_t chunkSize = 4096;
    std::chrono::milliseconds chunkDelay{0};
    // Each connection answered on a thread of its own, as a registry's server answers many
    // clients at once; otherwise one after another.
    bool concurrent = false;
};

class LoopbackWhoisServer {
public:
    explicit LoopbackWhoisServer(ServerBehaviour behaviour);
    ~LoopbackWhoisServer();
    LoopbackWhoisServer(const LoopbackWhoisServer&) = delete;
    LoopbackWhoisServer& operator=(const LoopbackWhoisServer&) = delete;

    std::uint16_t Port() const { return m_port; }
    // The request bytes of each connection, as received up to the line feed.
    std::vector<std::string> Requests() const;
    // The most connections that were ever open at once (accepted and not yet closed).
    int MostOpenAtOnce() const;

    // A loopback port nobody listens on (connections to it are refused).
    static std::uint16_t UnusedPort();

private:
    void Serve();
    void ServeConnection(std::intptr_t connection);
    void Answer(std::intptr_t connection);
    bool SendAll(std::intptr_t connection, const std::string& bytes);
    bool StopRequested(std::chrono::milliseconds wait);

    ServerBehaviour m_behaviour;
    std::intptr_t m_listener = -1;      // sockets, as the platform's socket handles
    std::intptr_t m_stopReceiver = -1;  // gets a datagram when the test is over
    std::uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    int m_openNow = 0;
    int m_mostOpen = 0;
    std::vector<std::thread> m_connectionThreads;  // concurrent answers, joined at the end
    std::thread m_thread;
};

}  // namespace quorvel::testing
