#include "engine/SignalPath.h"

#include <algorithm>

namespace kirra {

SignalPath::SignalPath() {
    for (auto& peak : peaks_)
        peak.store(0.0f);
}

void SignalPath::setInversionBits(int bits) {
    for (int slot = 0; slot < kSlots; ++slot) {
        inversion_[slot] = (bits >> slot) & 1 ? -1.0f : 1.0f;
    }
}

void SignalPath::reset() {
    // Levels first land on their targets, so the gains snapped below are the ones that apply.
    main_.snapSmoothing();
    main_.resetModulation();
    main_.updateRamps();
    main_.snapRamps();
    wetSum_[0] = wetSum_[1] = 0.0f;
    clearOperatorOutputs();
    routing_.resetModulation();
    routing_.updateRamps();
    routing_.snapRamps();
    for (int slot = 0; slot < kSlots; ++slot) {
        operatorEnable_[slot].setTarget(operatorEnableTarget_[slot]);
        operatorEnable_[slot].snap();
        modulatorEnable_[slot].setTarget(modulatorEnableTarget_[slot]);
        modulatorEnable_[slot].snap();
    }
    enablesMoving_ = true;
    dryDelay_.reset();
    for (auto& peak : peaks_)
        peak.store(0.0f);
    limiter_.reset();
}

void SignalPath::clearOperatorOutputs() {
    std::fill(&operatorOut_[0][0], &operatorOut_[0][0] + 2 * kSlots, 0.0f);
}

void SignalPath::takePeaks(float peaks[kMeters]) {
    for (int meter = 0; meter < kMeters; ++meter)
        peaks[meter] = peaks_[meter].exchange(0.0f);
}

}  // namespace kirra
