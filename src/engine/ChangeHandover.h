#pragma once
// The one place where changes cross from the other threads to the audio thread. At most one change
// waits at a time: a thread with more to say takes the waiting change back, adds to it and
// publishes it again, so whatever the audio thread takes is complete and the latest request always
// wins. The audio thread takes the change with one atomic exchange at the start of a block and,
// once it is applied, pushes it onto a list of retired changes with a compare-and-swap; another
// thread destroys those. Nothing here makes the audio thread wait or allocate.

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/EngineChange.h"

namespace kirra {

class ChangeHandover {
  public:
    ChangeHandover() = default;
    ~ChangeHandover();
    ChangeHandover(const ChangeHandover&) = delete;
    ChangeHandover& operator=(const ChangeHandover&) = delete;

    // Other threads, one at a time (under the engine mutex).
    // The waiting change, taken back; or null, once a change the audio thread already took has
    // been applied, so that a value stored from now on lands after it.
    std::unique_ptr<EngineChange> retract();
    void publish(std::unique_ptr<EngineChange> change);
    // Destroys the changes the audio thread has retired, and the modules they hold.
    void reclaim();

    // Counts publications; a store made on the audio thread remembers it to learn later whether
    // a change was published after it.
    uint64_t publications() const { return publications_.load(std::memory_order_seq_cst); }
    bool isWaiting() const { return pending_.load(std::memory_order_seq_cst) != nullptr; }

    // Audio thread.
    EngineChange* take() { return pending_.exchange(nullptr, std::memory_order_acq_rel); }
    void retire(EngineChange* change);
    bool hasRetired() const { return retired_.load(std::memory_order_relaxed) != nullptr; }

  private:
    std::atomic<EngineChange*> pending_{nullptr};
    std::atomic<EngineChange*> retired_{nullptr};
    std::atomic<uint64_t> applied_{0};
    std::atomic<uint64_t> publications_{0};
    // the publishing side's own
    uint64_t serial_ = 0;
    uint64_t awaited_ = 0;  // serial of a change published and not taken back
};

}  // namespace kirra
