#pragma once
// Two resonant second-order filters, A and B, each low-pass, band-pass, notch or high-pass, run
// side by side; the morph crossfades the output from A to B. Coefficients are formed every
// sample from ramped cos w, sin w / 2Q and Q, so frequency sweeps stay smooth.

#include "operators/filters/FilterPair.h"
#include "operators/filters/MorphingSections.h"

namespace kirra {

class Biquad final : public FilterPair {
  public:
    enum Type { kLowPass = 0, kBandPass, kNotch, kHighPass, kTypeCount };

    Biquad(int slot, ModuleOwner* owner);

    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }
    double magnitudeAt(const float* positionValues, double frequencyHz) const override;

    // The numerator of a response type as a polynomial in cos w and Q sin w / 2Q, so that all
    // four lanes form their coefficients by the same arithmetic, whatever their types:
    // b0 = p0 + p1 c + p2 Q alpha, b1 = q0 + q1 c, b2 = p0 + p1 c - p2 Q alpha (before 1 / a0).
    struct Shape {
        double p0, p1, p2, q0, q1;
    };
    static Shape shapeOf(int type);
    // One filter's coefficients from the ramped quantities (also what the plot evaluates).
    static SecondOrder coefficients(const Shape& shape, double cosine, double alpha, double q) {
        const double norm = 1.0 / (1.0 + alpha);
        const double even = shape.p0 + shape.p1 * cosine;
        const double odd = shape.p2 * q * alpha;
        SecondOrder k;
        k.b0 = (even + odd) * norm;
        k.b1 = (shape.q0 + shape.q1 * cosine) * norm;
        k.b2 = (even - odd) * norm;
        k.a1 = -2.0 * cosine * norm;
        k.a2 = (1.0 - alpha) * norm;
        return k;
    }

  private:
    // The quantities the audio ramps, for one filter and channel.
    struct Design {
        double cosine;
        double alpha;
        double q;
    };
    Design design(float frequencyValue, float resonanceValue, int type) const;

    // parameters read at control rate: the response type of filters A and B
    int type_[2] = {kLowPass, kLowPass};
    Shape shape_[2] = {shapeOf(kLowPass), shapeOf(kLowPass)};
    // derived targets and ramps, lanes as in MorphingSections
    RampLanes<double, MorphingSections::kLanes> cosine_;
    RampLanes<double, MorphingSections::kLanes> alpha_;
    RampLanes<double, MorphingSections::kLanes> q_;
    // filter state and the crossfade
    MorphingSections sections_;
};

}  // namespace kirra
