#include "engine/MainSection.h"

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
    for (int level = 0; level < kLevelCount; ++level) {
        for (int channel = 0; channel < 2; ++channel)
            published_[level][channel].store(modulated_[level][channel], std::memory_order_relaxed);
    }
    for (int channel = 0; channel < 2; ++channel) {
        // With the power off the whole wet path is muted and the levels are bypassed.
        float input = power_ ? units::levelGain(modulated_[kInputLevel][channel]) : 1.0f;
        float mix = power_ ? modulated_[kMixLevel][channel] : 0.0f;
        float output = power_ ? units::levelGain(modulated_[kOutputLevel][channel]) : 1.0f;
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
}

}  // namespace kirra
