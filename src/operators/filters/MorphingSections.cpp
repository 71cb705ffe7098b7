#include "operators/filters/MorphingSections.h"

namespace kirra {

void MorphingSections::process(const Coefficients& k, float& left, float& right) {
    const double input[kLanes] = {left, right, left, right};
    double output[kLanes];
    for (int i = 0; i < kLanes; ++i) {
        double y = k.b0[i] * input[i] + k.b1[i] * x1_[i] + k.b2[i] * x2_[i] - k.a1[i] * y1_[i] -
                   k.a2[i] * y2_[i];
        const bool silent = isNegligible(y, y1_[i]);
        y = silent ? 0.0 : y;
        y1_[i] = silent ? 0.0 : y1_[i];
        x2_[i] = x1_[i];
        x1_[i] = input[i];
        y2_[i] = y1_[i];
        y1_[i] = y;
        output[i] = y;
    }
    morph.advance();
    const double morphLeft = morph.current[0];
    const double morphRight = morph.current[1];
    left =
        static_cast<float>((1.0 - morphLeft) * output[lane(0, 0)] + morphLeft * output[lane(1, 0)]);
    right = static_cast<float>((1.0 - morphRight) * output[lane(0, 1)] +
                               morphRight * output[lane(1, 1)]);
    if (!isFinitePair(left, right)) {
        clearHistory();
        left = right = 0.0f;
    }
}

void MorphingSections::clearHistory() {
    for (int i = 0; i < kLanes; ++i) {
        x1_[i] = x2_[i] = y1_[i] = y2_[i] = 0.0;
    }
}

double MorphingSections::morphedMagnitude(const SecondOrder& sectionA, const SecondOrder& sectionB,
                                          float morph, double omega) {
    const double shareOfB = sanitizeUnit(morph);
    return std::abs((1.0 - shareOfB) * responseAt(sectionA, omega) +
                    shareOfB * responseAt(sectionB, omega));
}

}  // namespace kirra
