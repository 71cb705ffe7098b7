#pragma once
// Two programs to compare, A and B. The one playing is the current program, as the host, the
// chunk and files know it; the other waits here. Switching swaps the two, so a switch undone is
// the same switch again. Until the first switch or copy B is a copy of A.

#include <atomic>
#include <mutex>

#include "engine/ProgramStore.h"

namespace kirra {

class Plugin;

class ABCompare {
  public:
    static constexpr int kA = 0;
    static constexpr int kB = 1;

    explicit ABCompare(Plugin& plugin) : plugin_(plugin) {}

    int playing() const { return playing_.load(); }
    // The waiting program becomes the current one and the current one waits.
    void swap();
    // "A>B" and "B>A": the program of one slot replaces the other's; copying into the playing
    // slot loads it like a preset.
    void copy(int from, int to);

  private:
    // Fills the waiting slot with the current program the first time it is needed.
    void fillWaitingLocked();

    Plugin& plugin_;
    std::mutex mutex_;
    Program waiting_;
    bool filled_ = false;
    std::atomic<int> playing_{kA};
};

}  // namespace kirra
