#pragma once
// Delays the dry signal so that it lines up with the wet path (each operator-to-operator link
// adds one sample) or is deliberately offset from it.

#include <algorithm>
#include <vector>

#include "modules/Relaxed.h"

namespace kirra {

class DryDelay {
  public:
    static constexpr int kStates = 32769;
    static constexpr int kMaxDelay = kStates - 1;

    DryDelay() : left_(kMaxDelay + 2, 0.0f), right_(kMaxDelay + 2, 0.0f) {}

    // The stored state n becomes n/4 samples below 80 kHz, n/2 below 170 kHz, else n, so one
    // setting means about the same time at every common rate. Fixed when the state is set.
    static int delayForState(int state, float sampleRate) {
        if (sampleRate < 80000.0f) return state / 4;
        if (sampleRate < 170000.0f) return state / 2;
        return state;
    }
    void setDelay(int samples) {
        delay_ = samples < 0 ? 0 : (samples > kMaxDelay ? kMaxDelay : samples);
    }
    int getDelay() const { return delay_; }
    void reset() {
        std::fill(left_.begin(), left_.end(), 0.0f);
        std::fill(right_.begin(), right_.end(), 0.0f);
        writeIndex_ = 0;
    }

    // Writes this sample and answers the one of exactly `delay` samples ago.
    // The same over a run, from one pair of buffers into another.
    void processRun(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                    int count) {
        float* const lineLeft = left_.data();
        float* const lineRight = right_.data();
        const int delay = delay_;
        int index = writeIndex_;
        for (int t = 0; t < count; ++t) {
            lineLeft[index] = inLeft[t];
            lineRight[index] = inRight[t];
            if (++index > delay) index = 0;
            outLeft[t] = lineLeft[index];
            outRight[t] = lineRight[index];
        }
        writeIndex_ = index;
    }

    void process(float& left, float& right) {
        left_[writeIndex_] = left;
        right_[writeIndex_] = right;
        if (++writeIndex_ > delay_) writeIndex_ = 0;
        left = left_[writeIndex_];
        right = right_[writeIndex_];
    }

  private:
    std::vector<float> left_;
    std::vector<float> right_;
    int writeIndex_ = 0;
    Relaxed<int> delay_ = 0;  // set from any thread
};

}  // namespace kirra
