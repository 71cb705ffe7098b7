#pragma once
// Parameter changes on their way to the editor. Any thread (the audio thread included) posts a
// change with two atomic stores and no lock; the editor's thread takes them in index order and
// sees the latest value of each.

#include <atomic>

#include "engine/ParameterIndex.h"

namespace kirra::editor {

class ParameterMailbox {
  public:
    static constexpr int kCount = param::kInternalParameterCount;

    void post(int index, float value) {
        if (index < 0 || index >= kCount) return;
        values_[index].store(value, std::memory_order_relaxed);
        pending_[index].store(true, std::memory_order_release);
        anyPending_.store(true, std::memory_order_release);
    }

    // Calls `handle(index, value)` for every index posted since the last call.
    template <typename Handler>
    void take(Handler&& handle) {
        if (!anyPending_.exchange(false, std::memory_order_acquire)) return;
        for (int index = 0; index < kCount; ++index) {
            if (!pending_[index].exchange(false, std::memory_order_acquire)) continue;
            handle(index, values_[index].load(std::memory_order_relaxed));
        }
    }

    void clear() {
        take([](int, float) {});
    }

  private:
    std::atomic<float> values_[kCount] = {};
    std::atomic<bool> pending_[kCount] = {};
    std::atomic<bool> anyPending_{false};
};

}  // namespace kirra::editor
