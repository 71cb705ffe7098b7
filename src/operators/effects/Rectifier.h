#pragma once
// Full-wave rectifier followed by a 10 Hz Butterworth high-pass that removes the DC the
// rectification creates. Double precision: at 10 Hz the poles sit very close to the unit circle.

#include "modules/Operator.h"

namespace kirra {

class Rectifier : public Operator {
  public:
    Rectifier(int slot, ModuleOwner* owner);

    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

  private:
    struct History {
        double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    };
    float filter(float sample, History& history) const;

    bool on_ = false;  // from the base value of the switch
    // high-pass coefficients
    double b0_ = 1.0, b1_ = 0.0, b2_ = 0.0, a1_ = 0.0, a2_ = 0.0;
    // filter state per channel
    History historyLeft_{};
    History historyRight_{};
};

}  // namespace kirra
