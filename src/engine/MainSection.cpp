#include "engine/MainSection.h"

#include <cstring>

#include "engine/ParameterDescription.h"

namespace kirra {

MainSection::MainSection() {
    resetModulation();
    updateRamps();
    snapRamps();
}

void MainSection::resetModulation() {
    for (int level = 0; level < kLevelCount; ++level) {
        modulated_[level][0] = modulated_[level][1] = levels_.value(level);
    }
}

void MainSection::updateRamps() {
    const bool power = power_;
    // Bit patterns are meant: a zero of the other sign or another NaN is a change.
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
    const bool sameLevels = std::memcmp(rampedFrom_, modulated_, sizeof modulated_) == 0;
    if (targetsComputed_ && power == rampedPower_ && sameLevels) {
        // The same targets again, already published: only the increments, taken from where the
        // ramps are now, can differ.
        for (auto& levelRamps : ramps_) {
            for (LinearRamp& ramp : levelRamps)
                ramp.setTarget(ramp.target);
        }
        followRamps();
        return;
    }
    std::memcpy(rampedFrom_, modulated_, sizeof modulated_);
    rampedPower_ = power;
    targetsComputed_ = true;
    for (int level = 0; level < kLevelCount; ++level) {
        for (int channel = 0; channel < 2; ++channel)
            published_[level][channel].store(modulated_[level][channel], std::memory_order_relaxed);
    }
    for (int channel = 0; channel < 2; ++channel) {
        // With the power off the whole wet path is muted and the levels are bypassed.
        float input = power ? units::levelGain(modulated_[kInputLevel][channel]) : 1.0f;
        float mix = power ? modulated_[kMixLevel][channel] : 0.0f;
        float output = power ? units::levelGain(modulated_[kOutputLevel][channel]) : 1.0f;
        ramps_[kInputLevel][channel].setTarget(input);
        ramps_[kMixLevel][channel].setTarget(mix);
        ramps_[kOutputLevel][channel].setTarget(output);
    }
    followRamps();
}

void MainSection::followRamps() {
    // A ramp whose next step changes no bit never will before it takes a new target.
    rampsMoving_ = false;
    for (const auto& levelRamps : ramps_) {
        for (const LinearRamp& ramp : levelRamps) {
            if (!sameBits(ramp.current + ramp.increment, ramp.current)) rampsMoving_ = true;
        }
    }
}

void MainSection::snapRamps() {
    for (auto& levelRamps : ramps_) {
        levelRamps[0].snap();
        levelRamps[1].snap();
    }
    rampsMoving_ = true;
    // A snap may follow targets computed outside block processing, under another rounding:
    // the next update computes them afresh.
    targetsComputed_ = false;
}

}  // namespace kirra
