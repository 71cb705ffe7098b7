#pragma once
// Parameter stores made on the audio thread (a learned MIDI controller, a host automating from its
// audio thread), on their way to what the audio thread must not do itself: write the program and
// the per-type memory under the engine mutex, or build a module. Posting is a few atomic stores,
// no lock and no allocation; another thread takes the stores in index order, the latest value of
// each with the count of changes published before it.

#include <atomic>
#include <cstdint>

#include "engine/ParameterIndex.h"
#include "modules/Relaxed.h"

namespace kirra {

class AudioStores {
  public:
    static constexpr int kCount = param::kInternalParameterCount;

    void post(int index, float value, uint64_t publications) {
        if (index < 0 || index >= kCount) return;
        values_[index] = value;
        publications_[index] = publications;
        pending_[index / kBits].fetch_or(bit(index), std::memory_order_release);
    }

    // Calls `handle(index, value, publications)` for every index posted since the last call.
    template <typename Handler>
    void take(Handler&& handle) {
        for (int word = 0; word < kWords; ++word) {
            uint64_t bits = pending_[word].exchange(0, std::memory_order_acquire);
            for (int offset = 0; bits != 0; ++offset, bits >>= 1) {
                if ((bits & 1) == 0) continue;
                const int index = word * kBits + offset;
                handle(index, values_[index].load(), publications_[index].load());
            }
        }
    }

    bool isEmpty() const {
        for (const auto& word : pending_) {
            if (word.load(std::memory_order_relaxed) != 0) return false;
        }
        return true;
    }

  private:
    static constexpr int kBits = 64;
    static constexpr int kWords = (kCount + kBits - 1) / kBits;
    static uint64_t bit(int index) { return uint64_t{1} << (index % kBits); }

    Relaxed<float> values_[kCount];
    Relaxed<uint64_t> publications_[kCount];
    std::atomic<uint64_t> pending_[kWords] = {};
};

}  // namespace kirra
