#pragma once
// A periodic timer driven by whoever runs the event loop: `poll` with the current time runs the
// callback when an interval has passed. Intervals missed while nobody polled are not made up.

#include <cstdint>
#include <functional>

namespace kirra::gui {

// Milliseconds of a steady clock, for timers and meter ballistics.
int64_t monotonicMs();

class Timer {
  public:
    Timer(int intervalMs, std::function<void()> callback)
        : intervalMs_(intervalMs), callback_(std::move(callback)) {}

    int intervalMs() const { return intervalMs_; }
    // True (after running the callback) when the interval has passed since the last run.
    bool poll(int64_t nowMs);
    // Milliseconds until the next run is due, 0 when it is due now.
    int64_t msUntilDue(int64_t nowMs) const;

  private:
    int intervalMs_;
    std::function<void()> callback_;
    int64_t lastRunMs_ = 0;
    bool started_ = false;
};

}  // namespace kirra::gui
