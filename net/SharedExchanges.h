// What the whois clients of one run share, so that a run of many lookups stays polite to the
// registries: at most a few exchanges at a time with any one server, no exchange (the same
// server, the same query text) made twice, and no more exchanges with a server that has refused
// to answer. The clients may run on any threads. It knows no registry: whether a reply is a
// refusal is told by the test it is given.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

namespace quorvel {

// How many replies' bytes a run remembers for exchanges that may be asked again (ARIN's handle
// of a match list that many addresses share); the oldest are forgotten first.
inline constexpr std::size_t kRememberedReplyBytes = std::size_t{16} * 1024 * 1024;

class CSharedExchanges {
public:
    // True when `reply` from the whois server `serverHost` says that it refuses to answer.
    using RefusalTest = std::function<bool(std::string_view serverHost, std::string_view reply)>;

    CSharedExchanges(unsigned exchangesPerServer, RefusalTest isRefusal,
                     std::size_t rememberedBytes = kRememberedReplyBytes);
    CSharedExchanges(const CSharedExchanges&) = delete;
    CSharedExchanges& operator=(const CSharedExchanges&) = delete;

    struct Outcome {
        enum class Kind {
            Reply,      // `reply` holds the server's reply (or the client's failure line)
            Refused,    // the server refused to answer, now or earlier in the run
            Cancelled,  // the run was interrupted while this exchange waited
        };
        Kind kind = Kind::Reply;
        std::string reply;
    };

    // The reply of `serverHost` to `queryText`. `exchange` makes the exchange, and is called
    // while one of the server's places is held; it is not called when the same exchange was made
    // already (its reply is remembered) or is being made for another client (whose reply is then
    // waited for), nor for a server that has refused.
    Outcome Ask(const std::string& serverHost, const std::string& queryText,
                const std::function<std::string()>& exchange);

    // For an interrupted run, from any thread: every wait for a server's place or for another
    // client's reply ends at once, and later ones do not begin.
    void Cancel();

private:
    struct Entry;
    using Key = std::pair<std::string, std::string>;  // server, query text

    std::shared_ptr<Entry> FindOrStart(const Key& key, bool& started, Outcome::Kind& why);
    Outcome WaitFor(const std::shared_ptr<Entry>& entry, const std::string& serverHost);
    bool TakePlace(const std::string& serverHost);
    void LeavePlace(const std::string& serverHost);
    void Finish(const Key& key, const std::shared_ptr<Entry>& entry, std::string reply,
                bool refused);
    void ForgetOldest();

    const unsigned m_perServer;
    const RefusalTest m_isRefusal;
    const std::size_t m_rememberedBytes;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_cancelled = false;
    std::map<std::string, unsigned> m_atOnce;  // exchanges being made, by server
    std::set<std::string> m_refusing;
    std::map<Key, std::shared_ptr<Entry>> m_entries;
    std::list<Key> m_finishedOldestFirst;
    std::size_t m_finishedBytes = 0;
};

}  // namespace quorvel
