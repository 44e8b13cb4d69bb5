// Runs a window's Locate commands so that the window stays alive while the registries are
// asked: the command begins and finishes on the window's thread, and resolves and asks the
// network on a thread of its own in between. Message boxes the lookup raises are shown on the
// window's thread, and the lookup goes on when the user has closed them, as it would if it ran
// on the window's thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include "LocateCommand.h"
#include "LocateView.h"
#include "SocketLibrary.h"

namespace quorvel {

// How long a window that is closing waits for the lookup it gave up: closing ends the program
// within a second, whatever the network or the resolver is doing.
inline constexpr std::chrono::milliseconds kLookupCancelWait{500};

class CLocateWorker {
public:
    // Runs a task on the window's thread, later, from the window's message loop; it may be
    // called from any thread.
    using PostToWindow = std::function<void(std::function<void()>)>;
    // Told on the window's thread how each command that was not given up ended, once it has.
    using Finished = std::function<void(LocateOutcome)>;

    CLocateWorker(ILocateView& view, ISocketLibrary& sockets, PostToWindow postToWindow,
                  Finished finished = {});
    // Cancels a lookup still running and waits for its thread.
    ~CLocateWorker();
    CLocateWorker(const CLocateWorker&) = delete;
    CLocateWorker& operator=(const CLocateWorker&) = delete;

    // On the window's thread: runs the Locate command, unless one is running already.
    void Locate();
    // True from Locate until the command has finished on the window's thread.
    bool IsBusy() const;

    // On the window's thread, when the window goes: the running lookup is given up (its waits
    // end at once, a message box it waits for is released, its answer is never shown) and its
    // thread is waited for up to `wait`. False when the thread is still inside a call that
    // cannot be interrupted (the resolver): it is then left to end on its own, touching nothing
    // of the window, and the program must not wait for it.
    bool Cancel(std::chrono::milliseconds wait);

    struct Lookup;  // one command's shared state, which its thread holds as long as it runs

private:
    void Finish(const std::shared_ptr<Lookup>& lookup);

    ILocateView& m_view;
    ISocketLibrary& m_sockets;
    PostToWindow m_postToWindow;
    Finished m_finished;
    std::shared_ptr<Lookup> m_running;
};

}  // namespace quorvel
