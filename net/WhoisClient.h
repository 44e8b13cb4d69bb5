// The whois client: one selected registry server, and one exchange at a time with it (connect
// to port 43, send one query line, read until the server closes).
#pragma once

#include <string>

#include "LookupFeedback.h"
#include "SocketLibrary.h"

namespace quorvel {

// Every whois server is asked on TCP port 43.
constexpr unsigned kWhoisPort = 43;

class CWhoisClient {
public:
    CWhoisClient(ISocketLibrary& sockets, ILookupFeedback& feedback);

    // Selects the server to ask. 1 on success; 0 when the name does not resolve, after the
    // message box "Failed to resolve server!". A failed selection leaves no usable server.
    int SetServer(const std::string& hostName);

    // One whois exchange with the selected server: the whole reply, or a line beginning
    // "FAILED" when the exchange could not be completed.
    std::string Query(const std::string& queryText);

private:
    std::string Exchange(const std::string& request);
    std::string ReceiveReply(ISocketLibrary::Socket socket,
                             std::chrono::steady_clock::time_point deadline);

    ISocketLibrary& m_sockets;
    ILookupFeedback& m_feedback;
    std::string m_serverName;
    SocketAddressV4 m_serverAddress;
    bool m_hasServer = false;  // m_serverAddress belongs to m_serverName
};

}  // namespace quorvel
