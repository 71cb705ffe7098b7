#pragma once
// Bit-crusher: each channel is rounded to a continuously variable bit depth (1 to 16 bits) and
// sampled and held at a rate from 2205 Hz to 44100 Hz that does not depend on the host's rate.
// No anti-aliasing filter: the aliasing is the sound.

#include "modules/Operator.h"
#include "operators/filters/FilterLanes.h"

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
    void processRun(float* left, float* right, int count) override;

    // Hold rate in Hz of a smplrate value: 44100 * 0.05^(1 - v).
    static float holdRateHz(float value);

  private:
    // lanes of the ramps
    enum RampLane { kBitsLeft = 0, kBitsRight, kRateLeft, kRateRight };
    // Each channel on its own: the general case.
    void processLanes(float& left, float& right);
    // One host sample more of each channel's hold period.
    void advancePhases();
    // Each channel of a run four samples at a time, where processSample would take its common
    // case for every sample; answers how many samples it left for processSample.
    int quantiseRun(float* left, float* right, int count);
    // Sets holdsEverySample_ from the ramps and phases as they stand.
    void updateHoldsEverySample();
    // The quantiser of a channel (0 left, 1 right) follows its bits value.
    void setQuantiser(int lane, float bits);

    // hold periods per host sample at the top rate (44100 Hz)
    float rateScale_ = 1.0f;
    // derived targets and ramps: the bits value itself and hold periods per host sample, of the
    // left and right channel
    RampLanes<float, 4> ramps_;
    // whether some ramp still steps: once every increment is zero, advancing adds nothing (at
    // the default settings the ramps never move)
    bool rampsMoving_ = true;
    // Both channels hold for exactly one host sample (the top rate at 44.1 kHz, the defaults)
    // with settled ramps and phases that adding a period and taking it away leaves as they
    // are: every sample takes a new value and the phases need no arithmetic.
    bool holdsEverySample_ = false;
    // the quantiser of the bits value each channel last saw (lanes 0 and 1; the power is worth
    // computing only when the bits move, and NaN matches no value, so the first sample sets
    // it): levels per unit, half a level and 1 / levels where that is exact (levels a power of
    // two), else 0; whether both are exact
    alignas(16) float quantiserBits_[4];
    alignas(16) float levels_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    alignas(16) float halfLevel_[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    alignas(16) float levelStep_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    bool stepsExact_ = true;
    // hold state per channel: the phase (in double: float rounding would shift the hold period)
    // and the held sample
    alignas(16) double phase_[2] = {};
    alignas(16) float held_[4] = {};
};

}  // namespace kirra
