#include "SharedExchanges.h"

#include <algorithm>
#include <utility>

namespace quorvel {

// One exchange: being made, or made with its reply remembered.
struct CSharedExchanges::Entry {
    bool finished = false;
    bool refused = false;
    std::string reply;
    std::list<Key>::iterator age;  // its place among the finished, oldest first
};

CSharedExchanges::CSharedExchanges(unsigned exchangesPerServer, RefusalTest isRefusal,
                                   std::size_t rememberedBytes)
    : m_perServer(std::max(1u, exchangesPerServer)),
      m_isRefusal(std::move(isRefusal)),
      m_rememberedBytes(rememberedBytes) {}

CSharedExchanges::Outcome CSharedExchanges::Ask(const std::string& serverHost,
                                                const std::string& queryText,
                                                const std::function<std::string()>& exchange) {
    const Key key{serverHost, queryText};
    Outcome::Kind refusedOrCancelled = Outcome::Kind::Reply;
    bool started = false;
    const std::shared_ptr<Entry> entry = FindOrStart(key, started, refusedOrCancelled);
    if (!entry) {
        return {refusedOrCancelled, {}};
    }
    if (!started) {
        return WaitFor(entry, serverHost);
    }
    if (!TakePlace(serverHost)) {
        Finish(key, entry, {}, false);
        return {Outcome::Kind::Cancelled, {}};
    }
    std::string reply = exchange();
    LeavePlace(serverHost);
    const bool refused = m_isRefusal && m_isRefusal(serverHost, reply);
    if (refused) {
        reply.clear();
    }
    Finish(key, entry, reply, refused);
    return {refused ? Outcome::Kind::Refused : Outcome::Kind::Reply, std::move(reply)};
}

// The entry of an exchange already made or being made, or a new one that the caller is to make
// (`started`); none when the run is cancelled or the server refuses (`why` says which).
std::shared_ptr<CSharedExchanges::Entry> CSharedExchanges::FindOrStart(const Key& key,
                                                                       bool& started,
                                                                       Outcome::Kind& why) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_cancelled) {
        why = Outcome::Kind::Cancelled;
        return nullptr;
    }
    if (m_refusing.count(key.first) != 0) {
        why = Outcome::Kind::Refused;
        return nullptr;
    }
    const auto found = m_entries.find(key);
    if (found != m_entries.end()) {
        const std::shared_ptr<Entry>& entry = found->second;
        if (entry->finished) {
            // Used again: it is the last to be forgotten now.
            m_finishedOldestFirst.splice(m_finishedOldestFirst.end(), m_finishedOldestFirst,
                                         entry->age);
        }
        return entry;
    }
    auto entry = std::make_shared<Entry>();
    m_entries.emplace(key, entry);
    started = true;
    return entry;
}

// Another client's exchange: its reply, once it is there.
CSharedExchanges::Outcome CSharedExchanges::WaitFor(const std::shared_ptr<Entry>& entry,
                                                    const std::string& serverHost) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_cancelled || entry->finished; });
    if (m_cancelled) {
        return {Outcome::Kind::Cancelled, {}};
    }
    if (entry->refused || m_refusing.count(serverHost) != 0) {
        return {Outcome::Kind::Refused, {}};
    }
    return {Outcome::Kind::Reply, entry->reply};
}

// Waits for one of the server's places; false when the run was cancelled meanwhile.
bool CSharedExchanges::TakePlace(const std::string& serverHost) {
    std::unique_lock<std::mutex> lock(m_mutex);
    unsigned& atOnce = m_atOnce[serverHost];
    m_changed.wait(lock, [&] { return m_cancelled || atOnce < m_perServer; });
    if (m_cancelled) {
        return false;
    }
    ++atOnce;
    return true;
}

void CSharedExchanges::LeavePlace(const std::string& serverHost) {
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_atOnce[serverHost];
    m_changed.notify_all();
}

// Hands the reply to the clients waiting for it and remembers it. An exchange cancelled before
// it was made is forgotten at once: nobody may take its empty reply for the server's.
void CSharedExchanges::Finish(const Key& key, const std::shared_ptr<Entry>& entry,
                              std::string reply, bool refused) {
    std::lock_guard<std::mutex> lock(m_mutex);
    entry->finished = true;
    entry->refused = refused;
    entry->reply = std::move(reply);
    if (refused) {
        m_refusing.insert(key.first);
    }
    if (m_cancelled) {
        m_entries.erase(key);
    } else {
        entry->age = m_finishedOldestFirst.insert(m_finishedOldestFirst.end(), key);
        m_finishedBytes += entry->reply.size() + key.first.size() + key.second.size();
        while (m_finishedBytes > m_rememberedBytes && !m_finishedOldestFirst.empty()) {
            ForgetOldest();
        }
    }
    m_changed.notify_all();
}

void CSharedExchanges::ForgetOldest() {
    const Key key = m_finishedOldestFirst.front();
    m_finishedOldestFirst.pop_front();
    const auto found = m_entries.find(key);
    m_finishedBytes -= found->second->reply.size() + key.first.size() + key.second.size();
    m_entries.erase(found);
}

void CSharedExchanges::Cancel() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cancelled = true;
    m_changed.notify_all();
}

}  // namespace quorvel
