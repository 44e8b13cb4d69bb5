#include "LocateWorker.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "LocateCommand.h"

namespace quorvel {

struct CLocateWorker::Lookup : ILookupFeedback {
    Lookup(ILocateView& windowView, ISocketLibrary& sockets, PostToWindow post)
        : view(windowView), command(windowView, sockets), postToWindow(std::move(post)) {}

    // Called on the lookup's thread: the message box is shown on the window's thread, and the
    // lookup waits until the user has closed it, or until the lookup is given up.
    void ShowMessageBox(const std::string& text, MessageIcon icon) override {
        unsigned box = 0;
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (cancelled) {
                return;
            }
            box = ++boxesAsked;
        }
        postToWindow([self = self.lock(), text, icon, box] {
            if (!self->IsCancelled()) {
                self->view.ShowMessageBox(text, icon);
            }
            std::lock_guard<std::mutex> lock(self->mutex);
            self->boxesClosed = box;
            self->changed.notify_all();
        });
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return cancelled || boxesClosed >= box; });
    }

    bool IsCancelled() {
        std::lock_guard<std::mutex> lock(mutex);
        return cancelled;
    }

    ILocateView& view;
    CLocateCommand command;
    PostToWindow postToWindow;
    std::weak_ptr<Lookup> self;
    std::thread thread;

    std::mutex mutex;
    std::condition_variable changed;
    bool cancelled = false;
    bool done = false;  // the thread has left the command
    unsigned boxesAsked = 0;
    unsigned boxesClosed = 0;
};

CLocateWorker::CLocateWorker(ILocateView& view, ISocketLibrary& sockets, PostToWindow postToWindow,
                             Finished finished)
    : m_view(view),
      m_sockets(sockets),
      m_postToWindow(std::move(postToWindow)),
      m_finished(std::move(finished)) {}

CLocateWorker::~CLocateWorker() {
    Cancel(std::chrono::milliseconds::max());
}

bool CLocateWorker::IsBusy() const {
    return m_running != nullptr;
}

void CLocateWorker::Locate() {
    if (IsBusy()) {
        return;
    }
    auto lookup = std::make_shared<Lookup>(m_view, m_sockets, m_postToWindow);
    lookup->self = lookup;
    if (!lookup->command.Begin()) {
        if (m_finished) {
            m_finished(LocateOutcome::EmptyDestination);
        }
        return;
    }
    m_running = lookup;
    // The thread touches nothing but its lookup, so that a lookup given up can be left behind.
    lookup->thread = std::thread([lookup, finish = [this, lookup] { Finish(lookup); }] {
        lookup->command.Run(*lookup);
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->done = true;
        lookup->changed.notify_all();
        if (!lookup->cancelled) {
            lookup->postToWindow(finish);  // the worker outlives every lookup not given up
        }
    });
}

void CLocateWorker::Finish(const std::shared_ptr<Lookup>& lookup) {
    if (lookup != m_running) {
        return;  // given up meanwhile
    }
    lookup->thread.join();
    m_running.reset();
    const LocateOutcome outcome = lookup->command.Finish();
    if (m_finished) {
        m_finished(outcome);
    }
}

bool CLocateWorker::Cancel(std::chrono::milliseconds wait) {
    if (!m_running) {
        return true;
    }
    const std::shared_ptr<Lookup> lookup = std::move(m_running);
    {
        std::lock_guard<std::mutex> lock(lookup->mutex);
        lookup->cancelled = true;
        lookup->changed.notify_all();
    }
    m_sockets.CancelWaits();
    std::unique_lock<std::mutex> lock(lookup->mutex);
    const bool ended = wait == std::chrono::milliseconds::max()
                           ? (lookup->changed.wait(lock, [&] { return lookup->done; }), true)
                           : lookup->changed.wait_for(lock, wait, [&] { return lookup->done; });
    lock.unlock();
    if (ended) {
        lookup->thread.join();
    } else {
        lookup->thread.detach();  // it holds its own share of the lookup
    }
    return ended;
}

}  // namespace quorvel
