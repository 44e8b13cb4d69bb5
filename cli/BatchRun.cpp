#include "BatchRun.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

#include "BatchAnswer.h"
#include "BatchInput.h"
#include "BatchRows.h"
#include "Destination.h"
#include "LookupTool.h"
#include "ProgressLine.h"
#include "Refusals.h"
#include "TerminalText.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadAhead = 256;  // destinations read before the run needs them
// Lookups started or waiting to be written, per lookup that may run at once: enough to keep
// every lookup busy while an earlier, slower one holds up the writing.
constexpr std::size_t kOpenJobsPerLookup = 4;
constexpr std::size_t kMostLinesWaiting = 4096;  // lines read and not yet written
// Answers kept for later lines that repeat a destination; the oldest are forgotten first.
constexpr std::size_t kRememberedAnswerBytes = std::size_t{16} * 1024 * 1024;
constexpr std::chrono::milliseconds kRedrawInterval{100};  // at most 10 redraws a second
// How long an interrupted run waits for its lookups to see the cancel: only the resolver, which
// cannot be interrupted, takes longer.
constexpr std::chrono::milliseconds kCancelWait{2000};

// Equal for two lines exactly when they name the same destination: the kind of what was read
// and its text, which within one kind names one destination ("(1.1.1.1)" left by a URL is a
// host name, apart from the address 1.1.1.1).
std::string SameDestinationKey(const Destination& read) {
    return std::to_string(read.value.index()) + ' ' + ReadText(read);
}

class CBatch : public std::enable_shared_from_this<CBatch> {
public:
    CBatch(ToolOptions options, ToolConsole& console, ISocketLibrary& sockets)
        : m_options(std::move(options)),
          m_console(console),
          m_sockets(sockets),
          m_shared(m_options.perServer, IsRefusalReply),
          m_input(m_options, console.in) {}

    int Run();

private:
    // One destination as read: looked up once, its answer written for every line that names it.
    struct Job {
        std::string key;          // the destination as read
        std::string destination;  // the first line's, which is looked up
        BatchAnswer answer;
        bool done = false;
        bool complete = false;  // done before the run was interrupted
        bool closed = false;    // done and written for every line so far
        std::size_t linesWaiting = 0;
        std::list<std::shared_ptr<Job>>::iterator remembered;
        bool isRemembered = false;
    };
    struct Line {
        std::shared_ptr<Job> job;
        std::string destination;  // as typed
        std::size_t count = 0;
    };

    void ReadInput();
    void Work();
    void Admit();
    std::shared_ptr<Job> JobFor(const std::string& key, const std::string& destination);
    std::vector<Line> TakeWritableLines(bool interruptedRunEnds);
    void Release(const Line& line);
    void Remember(const std::shared_ptr<Job>& job);
    void Forget(const std::shared_ptr<Job>& job);
    bool Finished() const;
    void Interrupt();
    bool InterruptRequested() const;

    void Write(const Line& line);
    std::string OutputOf(const Line& line);
    void NoteRefusal(std::string_view serverHost, const std::string& destination);
    void DrawProgress();
    void ClearProgressLocked();
    std::string ForTerminal(const std::string& text, bool terminal) const;

    const ToolOptions m_options;
    ToolConsole& m_console;
    ISocketLibrary& m_sockets;
    CSharedExchanges m_shared;
    CBatchInput m_input;
    Clock::time_point m_started = Clock::now();

    // What the reader, the lookups and the writer share.
    std::mutex m_mutex;
    std::condition_variable m_changed;        // the writer waits: an answer, a read, a cancel
    std::condition_variable m_workAvailable;  // the lookups wait
    std::condition_variable m_roomToRead;     // the reader waits
    std::deque<BatchItem> m_readItems;
    bool m_inputEnded = false;
    std::optional<std::size_t> m_total;
    std::size_t m_readCount = 0;
    std::unordered_map<std::string, std::shared_ptr<Job>> m_jobs;  // by the destination as read
    std::deque<std::shared_ptr<Job>> m_waitingJobs;
    std::size_t m_openJobs = 0;
    std::size_t m_running = 0;
    std::size_t m_threadsLeft = 0;
    std::list<std::shared_ptr<Job>> m_rememberedOldestFirst;
    std::size_t m_rememberedBytes = 0;
    bool m_stopping = false;
    bool m_interrupted = false;
    Clock::time_point m_cancelDeadline;

    // The writer's own.
    std::optional<BatchItem> m_heldItem;  // read, waiting for room among the open jobs
    std::deque<Line> m_linesWaiting;
    bool m_printedResult = false;
    int m_status = kExitAnswered;
    std::size_t m_written = 0;
    std::array<std::size_t, std::size(kBatchStatusNames)> m_byStatus{};
    Clock::time_point m_lastDrawn;

    // stderr, which the writer and the lookups (a refusal) write to.
    std::mutex m_errMutex;
    std::size_t m_progressShown = 0;  // the width of the progress line on the terminal
    std::set<std::string> m_refusingAnnounced;
    bool m_writingEnded = false;
};

int CBatch::Run() {
    if (m_console.catchInterrupts) {
        m_console.catchInterrupts();
    }
    if (!m_input.Open(m_console.err)) {
        return kExitUsage;
    }
    m_total = m_input.KnownTotal();
    if (m_options.format == OutputFormat::Csv) {
        m_console.out << ForTerminal(CsvHeader(m_options.extract), m_console.outIsTerminal)
                      << std::flush;
    }
    const std::shared_ptr<CBatch> self = shared_from_this();
    std::vector<std::thread> threads;
    m_threadsLeft = m_options.jobs + 1;
    threads.emplace_back([self] { self->ReadInput(); });
    for (unsigned job = 0; job < m_options.jobs; ++job) {
        threads.emplace_back([self] { self->Work(); });
    }

    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        if (!m_interrupted && InterruptRequested()) {
            Interrupt();
        }
        if (!m_interrupted) {
            Admit();
        }
        const bool ending = m_interrupted && (m_running == 0 || Clock::now() >= m_cancelDeadline);
        const std::vector<Line> writable = TakeWritableLines(ending);
        if (!writable.empty()) {
            lock.unlock();
            for (const Line& line : writable) {
                Write(line);
            }
            DrawProgress();
            lock.lock();
            for (const Line& line : writable) {
                Release(line);
            }
            continue;
        }
        if (ending || Finished()) {
            break;
        }
        m_changed.wait_for(lock, kRedrawInterval);
        lock.unlock();
        DrawProgress();
        lock.lock();
    }
    m_stopping = true;
    m_workAvailable.notify_all();
    m_roomToRead.notify_all();
    const bool interrupted = m_interrupted;
    if (interrupted) {
        m_changed.wait_until(lock, std::max(m_cancelDeadline, Clock::now() + kRedrawInterval),
                             [&] { return m_threadsLeft == 0; });
    }
    const bool threadsEnded = m_threadsLeft == 0;
    lock.unlock();
    {
        std::lock_guard<std::mutex> errLock(m_errMutex);
        ClearProgressLocked();
        m_writingEnded = true;
    }
    m_console.err.flush();
    for (std::thread& thread : threads) {
        // A lookup held by the resolver, or the reader held by a terminal, is left to end on its
        // own: it holds the batch alive and writes nothing more.
        if (interrupted && !threadsEnded) {
            thread.detach();
        } else {
            thread.join();
        }
    }
    return interrupted ? kExitInterrupted : m_status;
}

bool CBatch::InterruptRequested() const {
    return m_console.interrupted != nullptr && m_console.interrupted->load();
}

// No new lookup starts; the running ones see their waits end.
void CBatch::Interrupt() {
    m_interrupted = true;
    m_cancelDeadline = Clock::now() + kCancelWait;
    m_waitingJobs.clear();
    m_workAvailable.notify_all();
    m_roomToRead.notify_all();
    m_shared.Cancel();
    m_sockets.CancelWaits();
}

void CBatch::ReadInput() {
    for (;;) {
        std::optional<BatchItem> item = m_input.Next();
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_total) {
            m_total = m_input.KnownTotal();  // known once --extract has read everything
        }
        if (!item) {
            m_inputEnded = true;
            break;
        }
        m_roomToRead.wait(
            lock, [&] { return m_stopping || m_interrupted || m_readItems.size() < kReadAhead; });
        if (m_stopping || m_interrupted) {
            break;
        }
        m_readItems.push_back(std::move(*item));
        ++m_readCount;
        m_changed.notify_all();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    --m_threadsLeft;
    m_changed.notify_all();
}

void CBatch::Work() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_workAvailable.wait(lock,
                             [&] { return m_stopping || m_interrupted || !m_waitingJobs.empty(); });
        if (m_stopping || m_interrupted) {
            break;
        }
        const std::shared_ptr<Job> job = m_waitingJobs.front();
        m_waitingJobs.pop_front();
        ++m_running;
        lock.unlock();
        BatchAnswer answer =
            LookUpForBatch(job->destination, m_sockets, m_shared, m_options.verbose,
                           [this, job](std::string_view serverHost) {
                               NoteRefusal(serverHost, job->destination);
                           });
        lock.lock();
        job->answer = std::move(answer);
        job->done = true;
        job->complete = !m_interrupted;
        --m_running;
        m_changed.notify_all();
    }
    --m_threadsLeft;
    m_changed.notify_all();
}

// Takes the destinations read into the run, as far as there is room: a destination read before
// joins its job; a new one starts a lookup while the open jobs are within their limit.
void CBatch::Admit() {
    const std::size_t mostOpenJobs = m_options.jobs * kOpenJobsPerLookup;
    while (m_linesWaiting.size() < kMostLinesWaiting) {
        if (!m_heldItem) {
            if (m_readItems.empty()) {
                return;
            }
            m_heldItem = std::move(m_readItems.front());
            m_readItems.pop_front();
            m_roomToRead.notify_one();
        }
        const Destination read = ReadDestination(m_heldItem->destination);
        const std::string key = SameDestinationKey(read);
        const bool known = m_jobs.count(key) != 0;
        if (!known && m_openJobs >= mostOpenJobs) {
            return;
        }
        // The destination as typed, without the blanks around it, for the rows and messages.
        Line line{JobFor(key, read.typed), read.typed, m_heldItem->count};
        ++line.job->linesWaiting;
        m_linesWaiting.push_back(std::move(line));
        m_heldItem.reset();
    }
}

std::shared_ptr<CBatch::Job> CBatch::JobFor(const std::string& key,
                                            const std::string& destination) {
    const auto found = m_jobs.find(key);
    if (found != m_jobs.end()) {
        if (found->second->isRemembered) {
            Forget(found->second);
        }
        return found->second;
    }
    auto job = std::make_shared<Job>();
    job->key = key;
    job->destination = destination;
    m_jobs.emplace(key, job);
    m_waitingJobs.push_back(job);
    ++m_openJobs;
    m_workAvailable.notify_one();
    return job;
}

// The lines at the front whose answers are there. When an interrupted run ends, every line
// whose answer was complete, in order; the others are dropped.
std::vector<CBatch::Line> CBatch::TakeWritableLines(bool interruptedRunEnds) {
    std::vector<Line> writable;
    while (!m_linesWaiting.empty()) {
        Line& front = m_linesWaiting.front();
        if (!front.job->done && !interruptedRunEnds) {
            break;
        }
        if (front.job->done && front.job->complete) {
            writable.push_back(std::move(front));
        }
        m_linesWaiting.pop_front();
    }
    return writable;
}

void CBatch::Release(const Line& line) {
    const std::shared_ptr<Job>& job = line.job;
    if (--job->linesWaiting > 0) {
        return;
    }
    if (!job->closed) {
        job->closed = true;
        --m_openJobs;
    }
    Remember(job);
}

// A job whose lines are all written stays, for a later line that repeats its destination, as
// long as the answers kept stay within their limit.
void CBatch::Remember(const std::shared_ptr<Job>& job) {
    job->remembered = m_rememberedOldestFirst.insert(m_rememberedOldestFirst.end(), job);
    job->isRemembered = true;
    m_rememberedBytes += job->answer.Bytes();
    while (m_rememberedBytes > kRememberedAnswerBytes) {
        const std::shared_ptr<Job> oldest = m_rememberedOldestFirst.front();
        Forget(oldest);
        m_jobs.erase(oldest->key);
    }
}

void CBatch::Forget(const std::shared_ptr<Job>& job) {
    m_rememberedBytes -= job->answer.Bytes();
    m_rememberedOldestFirst.erase(job->remembered);
    job->isRemembered = false;
}

bool CBatch::Finished() const {
    return m_inputEnded && m_readItems.empty() && !m_heldItem && m_linesWaiting.empty();
}

// The destination's stderr texts and then its answer, with the progress line out of the way.
void CBatch::Write(const Line& line) {
    const BatchAnswer& answer = line.job->answer;
    const std::string output = OutputOf(line);
    {
        std::lock_guard<std::mutex> errLock(m_errMutex);
        ClearProgressLocked();
        if (!answer.messages.empty()) {
            m_console.err << ForTerminal(answer.messages, m_console.errIsTerminal) << std::flush;
        }
        m_console.out << output << std::flush;
    }
    m_status = std::max(m_status, answer.exitStatus);
    ++m_byStatus[static_cast<std::size_t>(answer.status)];
    ++m_written;
}

std::string CBatch::OutputOf(const Line& line) {
    const BatchAnswer& answer = line.job->answer;
    switch (m_options.format) {
        case OutputFormat::Text: {
            if (!answer.shown) {
                return {};
            }
            const std::string text = ResultText(answer.shownText, m_printedResult);
            m_printedResult = true;
            return ForTerminal(text, m_console.outIsTerminal);
        }
        case OutputFormat::Csv:
        case OutputFormat::Json:
            break;
    }
    BatchRow row{line.destination,
                 answer.kind,
                 answer.name,
                 answer.address,
                 answer.registry,
                 answer.summary,
                 std::string(StatusName(answer.status)),
                 std::nullopt,
                 answer.report};
    if (m_options.extract) {
        row.count = line.count;
    }
    if (m_options.format == OutputFormat::Json) {
        return JsonLine(row);  // its escapes keep it safe anywhere
    }
    return ForTerminal(CsvRow(row), m_console.outIsTerminal);
}

// Said once for each server, when its first refusal comes, from whichever lookup met it.
void CBatch::NoteRefusal(std::string_view serverHost, const std::string& destination) {
    std::lock_guard<std::mutex> errLock(m_errMutex);
    if (m_writingEnded || !m_refusingAnnounced.emplace(serverHost).second) {
        return;
    }
    ClearProgressLocked();
    const std::string notice = "quorvel-lookup: " + std::string(RegistryNameAt(serverHost)) +
                               " refused to answer, from " + destination +
                               " on; it is not asked again in this run\n";
    m_console.err << ForTerminal(notice, m_console.errIsTerminal) << std::flush;
}

void CBatch::DrawProgress() {
    if (!m_console.errIsTerminal || m_options.noProgress) {
        return;
    }
    const Clock::time_point now = Clock::now();
    if (now - m_lastDrawn < kRedrawInterval) {
        return;
    }
    Progress progress;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_total.value_or(m_readCount) < 2) {
            return;  // one destination needs no progress line
        }
        progress.total = m_inputEnded ? std::optional<std::size_t>(m_readCount) : m_total;
        progress.readSoFar = m_readCount;
    }
    m_lastDrawn = now;
    progress.done = m_written;
    progress.seconds = std::chrono::duration<double>(now - m_started).count();
    for (std::size_t status = 0; status < m_byStatus.size(); ++status) {
        progress.byStatus.emplace_back(kBatchStatusNames[status], m_byStatus[status]);
    }
    const std::string text = ProgressText(progress, m_console.errColumns);
    std::lock_guard<std::mutex> errLock(m_errMutex);
    if (m_writingEnded) {
        return;
    }
    const std::size_t pad = m_progressShown > text.size() ? m_progressShown - text.size() : 0;
    m_console.err << '\r' << text << std::string(pad, ' ') << std::flush;
    m_progressShown = text.size() + pad;
}

void CBatch::ClearProgressLocked() {
    if (m_progressShown == 0) {
        return;
    }
    m_console.err << '\r' << std::string(m_progressShown, ' ') << '\r' << std::flush;
    m_progressShown = 0;
}

std::string CBatch::ForTerminal(const std::string& text, bool terminal) const {
    return terminal ? EscapedForTerminal(text) : text;
}

}  // namespace

int RunBatch(const ToolOptions& options, ToolConsole& console, ISocketLibrary& sockets) {
    return std::make_shared<CBatch>(options, console, sockets)->Run();
}

}  // namespace quorvel
