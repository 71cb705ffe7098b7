#pragma once
// Vowel formants: per channel three two-pole resonators in series, tuned to the first three
// formants of a vowel. The morph moves every formant's frequency and bandwidth from vowel A to
// vowel B, so a modulated morph makes the sound talk. Double precision: the resonators' poles sit
// close to the unit circle.

#include "modules/Operator.h"
#include "operators/filters/FilterLanes.h"

namespace kirra {

class Formant final : public Operator {
  public:
    static constexpr int kVowels = 5;
    static constexpr int kFormants = 3;

    Formant(int slot, ModuleOwner* owner);

    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }
    double magnitudeAt(const float* positionValues, double frequencyHz) const override;

  private:
    static constexpr int kLanes = 2 * kFormants;  // formant k of channel c at lane 2k + c
    // A resonator's pole angle and radius, morphed between the two vowels.
    struct Pole {
        double omega;
        double radius;
    };
    Pole morphedPole(float morphValue, int vowelA, int vowelB, int formant) const;
    void clearHistory();

    // derived tables for the current rate: angular frequency and pole radius per vowel, formant
    double omega_[kVowels][kFormants] = {};
    double radius_[kVowels][kFormants] = {};
    // derived targets and ramps
    RampLanes<double, kLanes> cosine_;
    RampLanes<double, kLanes> poleRadius_;
    // filter state: each resonator's last two outputs
    double y1_[kLanes] = {};
    double y2_[kLanes] = {};
};

}  // namespace kirra
