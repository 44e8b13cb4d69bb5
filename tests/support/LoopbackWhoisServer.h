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

    // A loopback port nobody listens on (connections to it are refused).
    static std::uint16_t UnusedPort();

private:
    void Serve();
    void Answer(std::intptr_t connection);
    bool SendAll(std::intptr_t connection, const std::string& bytes);
    bool StopRequested(std::chrono::milliseconds wait);

    ServerBehaviour m_behaviour;
    std::intptr_t m_listener = -1;      // sockets, as the platform's socket handles
    std::intptr_t m_stopReceiver = -1;  // gets a datagram when the test is over
    std::uint16_t m_port = 0;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

}  // namespace quorvel::testing
