#include "engine/RoutingMatrix.h"

#include <cstring>

#include "modules/ModuleMath.h"

namespace kirra {

RoutingMatrix::RoutingMatrix() {
    // A serial chain: IN -> OP1 -> OP2 -> OP3 -> OP4 -> OUT.
    base_[kInToOp + 0] = 1.0f;
    for (int m = 0; m < kOperators - 1; ++m)
        base_[kOpToOp + kOperators * m + m + 1] = 1.0f;
    base_[kOpToOut + kOperators - 1] = 1.0f;
    resetModulation();
    updateRamps();
    snapRamps();
}

void RoutingMatrix::resetModulation() {
    for (int gain = 0; gain < kGains; ++gain) {
        modulated_[0][gain] = modulated_[1][gain] = base_[gain];
    }
}

void RoutingMatrix::clampModulation(int gain) {
    modulated_[0][gain] = clampUnit(modulated_[0][gain]);
    modulated_[1][gain] = clampUnit(modulated_[1][gain]);
}

void RoutingMatrix::updateRamps() {
    // With every gain on its target and the same modulated values, an update would set each
    // gain onto the target it is on, square to the same target again and so find a zero
    // increment: it would change nothing. (Bit patterns are compared: a zero of the other sign
    // or another NaN is a change.)
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
    if (landed_ && std::memcmp(rampedFrom_, modulated_, sizeof modulated_) == 0) return;
    std::memcpy(rampedFrom_, modulated_, sizeof modulated_);
    ramping_ = false;
    for (int channel = 0; channel < 2; ++channel) {
        for (int gain = 0; gain < kGains; ++gain) {
            // A full period has passed since the last update: land exactly on its target, so
            // an unchanged gain gets a zero increment and the per-sample work can be skipped.
            current_[channel][gain] = target_[channel][gain];
            float value = modulated_[channel][gain];
            target_[channel][gain] = value * value;
            increment_[channel][gain] =
                flushDenormal((target_[channel][gain] - current_[channel][gain]) * kRampFactor);
            ramping_ = ramping_ || increment_[channel][gain] != 0.0f;
        }
    }
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
    landed_ = !ramping_ && std::memcmp(current_, target_, sizeof current_) == 0;
}

void RoutingMatrix::snapRamps() {
    for (int channel = 0; channel < 2; ++channel) {
        for (int gain = 0; gain < kGains; ++gain) {
            current_[channel][gain] = target_[channel][gain];
            increment_[channel][gain] = 0.0f;
        }
    }
    ramping_ = false;
    // A snap may follow targets computed outside block processing, under another rounding:
    // the next update computes them afresh.
    landed_ = false;
}

}  // namespace kirra
