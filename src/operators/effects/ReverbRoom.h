#pragma once
// The "room" reverb: six damped feedback combs on the summed input, mixed into two sides with
// different weights, then a chain of eight allpasses per side.

#include <vector>

namespace kirra {

class ReverbRoom {
  public:
    static constexpr int kCombs = 6;
    static constexpr int kAllpassesPerSide = 8;

    void prepare(float sampleRate, float lengthScale);
    void clear();
    void setDecay(float timeValue, float dampingValue);
    // Decay time in seconds the comb gains are set for.
    static float decaySeconds(float timeValue);
    void process(float input, float& outLeft, float& outRight);

  private:
    struct Delay {
        std::vector<float> buffer;
        int index = 0;  // counts down
        int length() const { return static_cast<int>(buffer.size()); }
        void step() {
            if (--index < 0) index = length() - 1;
        }
    };
    struct Comb {
        Delay delay;
        float gain = 0.0f;
        float damping = 1.0f;
        float lowpass = 0.0f;
    };
    float allpassChain(Delay* chain, float sample);

    float sampleRate_ = 44100.0f;
    Comb combs_[kCombs];
    Delay allpassesLeft_[kAllpassesPerSide];
    Delay allpassesRight_[kAllpassesPerSide];
};

}  // namespace kirra
