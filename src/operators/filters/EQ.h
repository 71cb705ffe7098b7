#pragma once
// Two equalizer bands, A and B, each a low shelf, a peaking band or a high shelf with frequency,
// Q and gain, run side by side; the morph crossfades the output from A to B. The band formulas
// are the well-known cookbook shelving and peaking filters, the shelf slope set through Q.

#include "operators/filters/FilterPair.h"
#include "operators/filters/MorphingSections.h"

namespace kirra {

class EQ final : public FilterPair {
  public:
    enum Shape { kLowShelf = 0, kPeaking, kHighShelf, kShapeCount };
    // After the shared positions of the two bands and the morph: the two gains.
    enum GainPosition { kGainA = kMorph + 1, kGainB };

    EQ(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }
    double magnitudeAt(const float* positionValues, double frequencyHz) const override;

    // One band's coefficients from the ramped quantities; root gain a = 10^(dB / 80).
    static SecondOrder coefficients(int shape, double cosine, double alpha, double rootGain);

    // The shape of band 0 (A) or 1 (B) of an equalizer, from its base values.
    static int shapeOf(const Module& module, int band);

  private:
    // The quantities the audio ramps, for one band and channel.
    struct Design {
        double cosine;
        double alpha;
        double rootGain;
    };
    Design design(float frequencyValue, float qValue, float gainValue, int shape) const;

    // parameters read at control rate: the shapes of bands A and B
    int shape_[2] = {kLowShelf, kLowShelf};
    // derived targets and ramps, lanes as in MorphingSections
    RampLanes<double, MorphingSections::kLanes> cosine_;
    RampLanes<double, MorphingSections::kLanes> alpha_;
    RampLanes<double, MorphingSections::kLanes> rootGain_;
    // filter state and the crossfade
    MorphingSections sections_;
};

}  // namespace kirra
