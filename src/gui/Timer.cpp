#include "gui/Timer.h"

#include <chrono>

namespace kirra::gui {

int64_t monotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool Timer::poll(int64_t nowMs) {
    if (started_ && nowMs - lastRunMs_ < intervalMs_) return false;
    started_ = true;
    lastRunMs_ = nowMs;
    if (callback_) callback_();
    return true;
}

int64_t Timer::msUntilDue(int64_t nowMs) const {
    if (!started_) return 0;
    int64_t remaining = lastRunMs_ + intervalMs_ - nowMs;
    return remaining > 0 ? remaining : 0;
}

}  // namespace kirra::gui
