#pragma once
// The values of "[flat]", the neutral program: four unity Gains in a serial chain from the input
// to the output, nothing modulated. Computed at compile time, so tables built from it are
// read-only data.

#include "engine/ParameterIndex.h"

namespace kirra {

struct ProgramValues {
    float values[param::kProgramParameterCount];
};

constexpr ProgramValues flatProgramValues() {
    using namespace param;
    ProgramValues flat{};
    float* v = flat.values;
    v[kPower] = 1.0f;
    v[kInput] = 0.5f;
    v[kMix] = 1.0f;
    v[kOutput] = 0.5f;
    for (int slot = 0; slot < kSlotCount; ++slot)
        v[operatorParameter(slot, 0)] = 1.0f;  // Gain attenuation at unity
    for (int k = 0; k < kModulationSlots; ++k) {
        v[kSlotSensitivity1 + k] = 0.5f;
        v[kSlotSource1 + k] = 1.0f;       // none
        v[kSlotDestination1 + k] = 1.0f;  // none
    }
    // State 12: three samples below 80 kHz, the three one-sample links of the serial chain.
    v[kDryDelay] = 0.000381f;
    v[kInToOp1] = 1.0f;
    for (int m = 0; m + 1 < kSlotCount; ++m)
        v[kOpToOp11 + kSlotCount * m + m + 1] = 1.0f;
    v[kOpToOut1 + kSlotCount - 1] = 1.0f;
    v[kTempo] = 0.333333f;      // 120 BPM
    v[kOutLimiter] = 0.09375f;  // state 1, slow
    v[kTempoSync] = 0.375f;     // state 1, on
    return flat;
}

}  // namespace kirra
