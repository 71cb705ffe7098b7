#pragma once
// Two two-integrator state-variable filters, A and B, run at four times the sample rate. Every
// lane computes the low-pass, band-pass, notch and high-pass responses at once; the type only
// picks which one is heard, so switching it never disturbs the filter. The morph crossfades
// the output from A to B.

#include <complex>

#include "operators/filters/FilterLanes.h"
#include "operators/filters/FilterPair.h"

namespace kirra {

class SVF final : public FilterPair {
  public:
    enum Type { kLowPass = 0, kBandPass, kNotch, kHighPass, kTypeCount };
    // Lanes: 0 A left, 1 A right, 2 B left, 3 B right.
    static constexpr int kLanes = 4;

    SVF(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }
    double magnitudeAt(const float* positionValues, double frequencyHz) const override;

  private:
    float integratorGain(float frequencyValue) const;
    // The response of one filter as heard at the sample rate (input held over the four
    // sub-steps, output their mean).
    static std::complex<double> response(int type, double integratorGain, double damping,
                                         double omega);

    // parameters read at control rate: the response type of filters A and B
    int type_[2] = {kLowPass, kLowPass};
    // derived targets and ramps
    RampLanes<float, kLanes> integratorGain_;  // F = 2 sin(pi f / 4 sr)
    RampLanes<float, kLanes> damping_;         // D = 1 / Q
    RampLanes<float, 2> morph_;                // per channel
    // which response each lane outputs: one weight of 1 among low, band, notch, high
    alignas(16) float tapWeight_[kTypeCount][kLanes] = {};
    // filter state
    alignas(16) float low_[kLanes] = {};
    alignas(16) float band_[kLanes] = {};
};

}  // namespace kirra
