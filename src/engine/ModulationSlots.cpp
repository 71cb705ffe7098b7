#include "engine/ModulationSlots.h"

#include "modules/ModuleMath.h"

namespace kirra {

namespace {
const float kZero = 0.0f;
}

ModulationSlots::ModulationSlots() {
    for (int slot = 0; slot < kSlots; ++slot) {
        source_[slot] = kSourceNone;
        destination_[slot] = kDestinationNone;
        sensitivity_[slot] = 0.5f;
        enabled_[slot] = 1.0f;
        sourceLeft_[slot] = sourceRight_[slot] = &kZero;
    }
    snap();
}

void ModulationSlots::setMuteBits(int bits) {
    for (int slot = 0; slot < kSlots; ++slot)
        enabled_[slot] = (bits >> slot) & 1 ? 0.0f : 1.0f;
}

void ModulationSlots::resetWorking() {
    for (int slot = 0; slot < kSlots; ++slot) {
        working_[slot][0] = working_[slot][1] = sensitivity_[slot];
    }
}

void ModulationSlots::clampSensitivity(int slot) {
    working_[slot][0] = clampUnit(working_[slot][0]);
    working_[slot][1] = clampUnit(working_[slot][1]);
}

void ModulationSlots::latch() {
    for (int slot = 0; slot < kSlots; ++slot) {
        active_[slot][0] = working_[slot][0];
        active_[slot][1] = working_[slot][1];
    }
}

void ModulationSlots::snap() {
    resetWorking();
    latch();
}

}  // namespace kirra
