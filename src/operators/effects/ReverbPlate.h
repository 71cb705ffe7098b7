#pragma once
// The "plate" reverb: the summed input is diffused by four allpasses and feeds six damped
// recirculating lines; taps inside the lines, through wide band-passes at 2 kHz, form the two
// sides.

#include <cstddef>
#include <vector>

namespace kirra {

class ReverbPlate {
  public:
    static constexpr int kInputAllpasses = 4;
    static constexpr int kTankLines = 6;

    void prepare(float sampleRate);
    void clear();
    void setDecay(float timeValue, float dampingValue);
    void process(float inLeft, float inRight, float& outLeft, float& outRight);

    // Distances in samples behind the write position at a rate (what prepare sets).
    static int inputAllpassDelay(int section, float sampleRate);
    static int tankLineDelay(int line, float sampleRate);

  private:
    struct BandPass {
        float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
    };
    float* line(int index) { return memory_.data() + static_cast<size_t>(index) * (mask_ + 1); }
    float at(int index, int distance) const {
        return memory_[static_cast<size_t>(index) * (mask_ + 1) + ((position_ - distance) & mask_)];
    }
    float bandPass(BandPass& state, float x) const;

    // memory: the input allpasses, then the tank lines, each mask + 1 samples long
    std::vector<float> memory_;
    int mask_ = 0;
    int position_ = 0;
    int allpassDelays_[kInputAllpasses] = {};
    int tankDelays_[kTankLines] = {};
    // diffusion, recirculation and damping of the current settings
    float inputDiffusion_ = 0.0f;
    float tankDiffusion_ = 0.0f;
    float tankGain_ = 0.0f;
    float tankDamping_ = 0.8f;
    // tank low-passes, the alternating offset that keeps the lines out of denormals, and the
    // output band-passes
    float lowpass_[kTankLines] = {};
    float offset_ = 1e-8f;
    float bandB0_ = 0.0f, bandA1_ = 0.0f, bandA2_ = 0.0f;
    BandPass bandLeft_{};
    BandPass bandRight_{};
};

}  // namespace kirra
