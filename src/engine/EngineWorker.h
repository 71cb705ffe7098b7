#pragma once
// An instance's own background thread, for the work the audio thread hands back: destroying the
// modules it replaced and finishing the parameter stores it made (see AudioStores). It starts with
// the instance and is stopped and joined before the instance goes away; between wake-ups it sleeps
// on a semaphore, and a wake-up that arrives while it works makes it run once more.

#include <atomic>
#include <functional>
#include <thread>

#include "platform/WakeSignal.h"

namespace kirra {

class EngineWorker {
  public:
    explicit EngineWorker(std::function<void()> work);
    ~EngineWorker();
    EngineWorker(const EngineWorker&) = delete;
    EngineWorker& operator=(const EngineWorker&) = delete;

    // Any thread, the audio thread included: never waits, never allocates.
    void wake() {
        if (!requested_.exchange(true, std::memory_order_acq_rel)) signal_.post();
    }

  private:
    void run();

    std::function<void()> work_;
    platform::WakeSignal signal_;
    std::atomic<bool> requested_{false};
    std::atomic<bool> stopping_{false};
    std::thread thread_;  // last: it starts once everything above exists
};

}  // namespace kirra
