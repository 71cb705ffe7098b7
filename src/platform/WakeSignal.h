#pragma once
// Wakes a helper thread. `post` neither blocks nor takes a lock (a POSIX semaphore's post is an
// atomic increment and, when someone waits, one wake-up call), so the audio thread may use it.

#include <semaphore.h>

#include <cerrno>

namespace platform {

class WakeSignal {
  public:
    WakeSignal() { sem_init(&semaphore_, 0, 0); }
    ~WakeSignal() { sem_destroy(&semaphore_); }
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    void post() { sem_post(&semaphore_); }
    void wait() {
        while (sem_wait(&semaphore_) != 0 && errno == EINTR) {
        }
    }

  private:
    sem_t semaphore_;
};

}  // namespace platform
