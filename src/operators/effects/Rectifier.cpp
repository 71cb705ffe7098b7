#include "operators/effects/Rectifier.h"

#include <cmath>
#include <iterator>

#include "operators/effects/EffectText.h"

namespace kirra {

namespace {

const PositionDescriptor kParameters[] = {
    offOnRow("rectify", "rectify", 0.0f),
};

bool isOn(float value) {
    return valueToIndex(value, 2) == 1;
}

}  // namespace

Rectifier::Rectifier(int slot, ModuleOwner* owner)
    : Operator(kRectifier, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
}

void Rectifier::setSampleRate(float sampleRate) {
    // Second-order Butterworth (Q = 1/sqrt 2) high-pass at 10 Hz.
    const double omega = 62.831854820251465 / sampleRate;  // 2 pi 10 Hz
    const double cosine = std::cos(omega);
    const double alpha = std::sin(omega) / 1.41421356237309;
    const double norm = 1.0 / (1.0 + alpha);
    b0_ = (1.0 + cosine) * 0.5 * norm;
    b1_ = -2.0 * b0_;
    b2_ = b0_;
    a1_ = -2.0 * cosine * norm;
    a2_ = (1.0 - alpha) * norm;
    Operator::setSampleRate(sampleRate);
}

void Rectifier::updateParameters() {
    on_ = isOn(base_[0]);
}

void Rectifier::resetState() {
    historyLeft_ = History{};
    historyRight_ = History{};
}

float Rectifier::filter(float sample, History& history) const {
    double x = std::fabs(static_cast<double>(sample));
    double y = b0_ * x + b1_ * history.x1 + b2_ * history.x2 - a1_ * history.y1 - a2_ * history.y2;
    history.x2 = history.x1;
    history.x1 = x;
    history.y2 = history.y1;
    history.y1 = flushDenormal(y);
    // A non-finite input would otherwise stay in the recursion for good.
    if (!std::isfinite(history.y1)) history = History{};
    return static_cast<float>(y);
}

void Rectifier::processSample(float& left, float& right) {
    if (!on_) return;
    left = filter(left, historyLeft_);
    right = filter(right, historyRight_);
}

}  // namespace kirra
