#pragma once
// Reverberator with four algorithms: "cathedral" and "hall" (fifteen-line feedback delay
// networks), "room" (damped combs and allpass chains) and "plate" (diffused recirculating
// lines). A predelay of up to a second, in milliseconds or a note value of the tempo, comes
// first; "amount" crossfades between the predelayed dry signal and the reverberation.

#include <vector>

#include "modules/Operator.h"
#include "operators/effects/ReverbNetwork.h"
#include "operators/effects/ReverbPlate.h"
#include "operators/effects/ReverbRoom.h"

namespace kirra {

class Reverb2 : public Operator {
  public:
    enum Position { kTime = 0, kDamping, kAmount, kType, kPredelayMode, kPredelay, kPositionCount };
    enum Algorithm { kCathedral = 0, kRoom, kPlate, kHall, kAlgorithmCount };
    enum PredelayMode { kPredelayTime = 0, kPredelayTempo = 1 };
    static constexpr int kTypeStates = 16;

    Reverb2(int slot, ModuleOwner* owner);

    void setTempo(float bpm) override;
    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

    // Predelay in samples for the base values at a rate and tempo.
    static int predelaySamples(const float* positionValues, float sampleRate, float tempoBpm);

  private:
    void clearAlgorithm(int algorithm);

    // settings picked up at control rate
    float tempoBpm_ = 120.0f;
    int algorithm_ = kHall;
    int predelay_ = 0;
    // time and damping the decay was last set for
    float decayTime_ = -1.0f;
    float decayDamping_ = -1.0f;
    // derived targets and ramps: wet share per side
    LinearRamp amountLeft_;
    LinearRamp amountRight_;
    // predelay memory (one second) with its write index
    std::vector<float> predelayLeft_;
    std::vector<float> predelayRight_;
    int predelayWrite_ = 0;
    // the algorithms
    ReverbNetwork cathedral_{ReverbNetwork::kCathedral};
    ReverbNetwork hall_{ReverbNetwork::kHall};
    ReverbRoom room_;
    ReverbPlate plate_;
};

}  // namespace kirra
