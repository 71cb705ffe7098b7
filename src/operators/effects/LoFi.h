#pragma once
// Bit-crusher: each channel is rounded to a continuously variable bit depth (1 to 16 bits) and
// sampled and held at a rate from 2205 Hz to 44100 Hz that does not depend on the host's rate.
// No anti-aliasing filter: the aliasing is the sound.

#include "modules/Operator.h"

namespace kirra {

class LoFi : public Operator {
  public:
    enum Position { kBits = 0, kHoldRate, kPositionCount };

    LoFi(int slot, ModuleOwner* owner);

    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;

    // Hold rate in Hz of a smplrate value: 44100 * 0.05^(1 - v).
    static float holdRateHz(float value);

  private:
    struct Channel {
        // derived targets and ramps: the bits value itself, hold periods per host sample
        LinearRamp bits;
        LinearRamp rate;
        // hold state (the phase in double: float rounding would shift the hold period)
        double phase = 0.0;
        float held = 0.0f;
    };
    float processChannel(Channel& channel, float sample) const;

    // hold periods per host sample at the top rate (44100 Hz)
    float rateScale_ = 1.0f;
    Channel channelLeft_{};
    Channel channelRight_{};
};

}  // namespace kirra
