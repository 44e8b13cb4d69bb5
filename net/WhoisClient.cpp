#include "WhoisClient.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "PlatformErrors.h"
#include "ResourceIds.h"
#include "StringTable.h"

namespace quorvel {
namespace {

constexpr std::size_t kRequestBufferSize = 512;
// The query text, " \r\n" and the terminating NUL fit the request buffer.
constexpr std::size_t kMaxQueryText = kRequestBufferSize - 4;
constexpr int kRecvChunk = 100;
constexpr std::size_t kRecvBufferSize = 128;

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::uint16_t HostToNetwork16(unsigned value) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(value >> 8),
                                    static_cast<unsigned char>(value & 0xFFu)};
    std::uint16_t result = 0;
    std::memcpy(&result, bytes, sizeof result);
    return result;
}

// A query becomes exactly one request line: a control character (NUL, CR, LF, ...) in a handle
// taken from a reply must not smuggle in a second one.
bool IsSendableQuery(const std::string& queryText) {
    if (queryText.size() > kMaxQueryText) {
        return false;
    }
    return std::none_of(queryText.begin(), queryText.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

std::string FailedLine(const char* what, int code) {
    return std::string("FAILED - ") + what + std::to_string(code) + ".";
}

milliseconds TimeLeft(Clock::time_point deadline) {
    return std::max(milliseconds(0),
                    std::chrono::duration_cast<milliseconds>(deadline - Clock::now()));
}

}  // namespace

CWhoisClient::CWhoisClient(ISocketLibrary& sockets, ILookupFeedback& feedback,
                           CSharedExchanges* shared)
    : m_sockets(sockets), m_feedback(feedback), m_shared(shared), m_serverAddress{} {}

int CWhoisClient::SetServer(const std::string& hostName) {
    if (hostName == m_serverName) {
        return 1;
    }
    const std::optional<HostEntry> host = m_sockets.GetHostByName(hostName);
    if (!host || host->addresses.empty()) {
        m_serverName.clear();
        m_hasServer = false;
        m_feedback.ShowMessageBox(LoadStringResource(IDS_SERVER_RESOLVE_FAILED), MessageIcon::None);
        return 0;
    }
    m_serverAddress = SocketAddressV4{};
    m_serverAddress.family = host->addressType;
    m_serverAddress.address = host->addresses.front();
    m_serverAddress.portNetworkOrder = HostToNetwork16(kWhoisPort);
    m_serverName = hostName;
    m_hasServer = true;
    return 1;
}

std::string CWhoisClient::Query(const std::string& queryText) {
    if (!IsSendableQuery(queryText)) {
        return "FAILED - query text refused.";
    }
    if (!m_hasServer) {
        return "FAILED - no server selected.";
    }
    if (m_shared == nullptr) {
        return AskServer(queryText);
    }
    CSharedExchanges::Outcome outcome =
        m_shared->Ask(m_serverName, queryText, [&] { return AskServer(queryText); });
    switch (outcome.kind) {
        case CSharedExchanges::Outcome::Kind::Reply:
            break;
        case CSharedExchanges::Outcome::Kind::Refused:
            m_feedback.OnServerRefused(m_serverName);
            return "FAILED - the server refuses to answer.";
        case CSharedExchanges::Outcome::Kind::Cancelled:
            return FailedLine("connect() failed: ", kErrorCancelled);
    }
    return std::move(outcome.reply);
}

std::string CWhoisClient::AskServer(const std::string& queryText) {
    m_feedback.OnExchange(m_serverName, queryText);
    return Exchange(queryText + " \r\n");
}

std::string CWhoisClient::Exchange(const std::string& request) {
    const ExchangeLimits limits = m_sockets.Limits();
    const Clock::time_point deadline = Clock::now() + limits.wholeExchange;

    const ISocketLibrary::Socket socket = m_sockets.OpenStreamSocket();
    if (socket < 0) {
        return FailedLine("error opening socket: Error ", m_sockets.LastError());
    }
    const milliseconds connectWait = std::min(limits.connectWait, TimeLeft(deadline));
    if (m_sockets.Connect(socket, m_serverAddress, connectWait) == -1) {
        const int code = m_sockets.LastError();
        m_sockets.CloseSocket(socket);
        return FailedLine("connect() failed: ", code);
    }
    if (m_sockets.Send(socket, request.data(), static_cast<int>(request.size())) == -1) {
        const int code = m_sockets.LastError();
        m_sockets.CloseSocket(socket);
        return FailedLine("send() failed: ", code);
    }
    std::string reply = ReceiveReply(socket, deadline);
    m_sockets.CloseSocket(socket);
    return reply;
}

// Reads until the server closes. A failure drops what arrived before it.
std::string CWhoisClient::ReceiveReply(ISocketLibrary::Socket socket, Clock::time_point deadline) {
    const ExchangeLimits limits = m_sockets.Limits();
    std::string reply;
    for (;;) {
        const milliseconds wait = std::min(limits.dataWait, TimeLeft(deadline));
        if (wait <= milliseconds(0)) {
            return FailedLine("recv() failed: ", kErrorTimedOut);
        }
        char buffer[kRecvBufferSize] = {};
        const int received = m_sockets.Recv(socket, buffer, kRecvChunk, wait);
        if (received < 0) {
            return FailedLine("recv() failed: ", m_sockets.LastError());
        }
        if (received == 0) {
            return reply;
        }
        // The chunk counts as a NUL-terminated text: a NUL byte ends its contribution.
        const char* chunkEnd = std::find(buffer, buffer + received, '\0');
        reply.append(buffer, static_cast<std::size_t>(chunkEnd - buffer));
        if (reply.size() > limits.maxReplyBytes) {
            return FailedLine("recv() failed: ", kErrorReplyTooLong);
        }
    }
}

}  // namespace quorvel
