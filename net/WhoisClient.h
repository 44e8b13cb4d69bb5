// The whois client: one selected registry server, and one exchange at a time with it (connect
// to port 43, send one query line, read until the server closes).
#pragma once

#include <string>

#include "LookupFeedback.h"
#include "SharedExchanges.h"
#include "SocketLibrary.h"

namespace quorvel {

// Every whois server is asked on TCP port 43.
constexpr unsigned kWhoisPort = 43;

class CWhoisClient {
public:
    // `shared`, when given, is what the clients of a run of many lookups share: their exchanges
    // are then gated per server and made once (SharedExchanges.h).
    CWhoisClient(ISocketLibrary& sockets, ILookupFeedback& feedback,
                 CSharedExchanges* shared = nullptr);

    // Selects the server to ask. 1 on success; 0 when the name does not resolve, after the
    // message box "Failed to resolve server!". A failed selection leaves no usable server.
    int SetServer(const std::string& hostName);

    // One whois exchange with the selected server: the whole reply, or a line beginning
    // "FAILED" when the exchange could not be completed, or when the server refused to answer in
    // this run (the feedback is then told).
    std::string Query(const std::string& queryText);

private:
    std::string AskServer(const std::string& queryText);
    std::string Exchange(const std::string& request);
    std::string ReceiveReply(ISocketLibrary::Socket socket,
                             std::chrono::steady_clock::time_point deadline);

    ISocketLibrary& m_sockets;
    ILookupFeedback& m_feedback;
    CSharedExchanges* m_shared;
    std::string m_serverName;
    SocketAddressV4 m_serverAddress;
    bool m_hasServer = false;  // m_serverAddress belongs to m_serverName
};

}  // namespace quorvel
