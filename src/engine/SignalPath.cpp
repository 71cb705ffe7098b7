#include "engine/SignalPath.h"

#include <algorithm>
#include <limits>

#include "operators/effects/WideLanes.h"

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

bool SignalPath::canRunOperatorsInTurn(const ModuleSlots& modules) {
    if (modules.tapsRead() || !routing_.feedsForwardAtRest()) return false;
    // A bypass ramp whose next step changes no bit never will before the next update.
    for (int slot = 0; slot < kSlots; ++slot) {
        for (const LinearRamp* enable : {&operatorEnable_[slot], &modulatorEnable_[slot]}) {
            if (!sameBits(enable->current + enable->increment, enable->current)) return false;
        }
    }
    enablesMoving_ = false;
    return true;
}

namespace {

using wide_lanes::Floats4;
constexpr int kLanes = wide_lanes::kLanes<Floats4>;

inline Floats4 load4(const float* p) {
    return wide_lanes::load<Floats4>(p);
}
inline Floats4 splat4(float x) {
    return wide_lanes::splat<Floats4>(x);
}
inline void copyLanes(const float* from, float* to, int padded) {
    for (int t = 0; t < padded; t += kLanes)
        wide_lanes::store(to + t, load4(from + t));
}

}  // namespace

void SignalPath::processRun(ModuleSlots& modules, const float* inLeft, const float* inRight,
                            int count, float* outLeft, float* outRight, BlockPeaks& peaks) {
    // Four samples at a time, each lane with the scalar arithmetic of its sample. The lanes past
    // the run read whatever the caller's buffers hold there and are never handed out.
    const int padded = (count + kLanes - 1) / kLanes * kLanes;
    const float* const inputs[2] = {inLeft, inRight};
    // Each slot's outputs over the run after its output of the sample before the run: index t
    // holds what the run's sample t reads.
    alignas(16) float outputs[kSlots][2][kMaxRun + kLanes];
    for (int slot = 0; slot < kSlots; ++slot) {
        outputs[slot][0][0] = operatorOut_[0][slot];
        outputs[slot][1][0] = operatorOut_[1][slot];
    }
    alignas(16) float wet[2][kMaxRun] = {};
    const int midSideBits = midSideBits_;
    const Floats4 halfSqrt2 = splat4(kHalfSqrt2);
    const auto encodeRun = [&](float* a, float* b) {
        for (int t = 0; t < padded; t += kLanes) {
            const Floats4 left = load4(a + t);
            const Floats4 right = load4(b + t);
            wide_lanes::store(a + t, (left + right) * halfSqrt2);
            wide_lanes::store(b + t, (left - right) * halfSqrt2);
        }
    };
    for (int slot = 0; slot < kSlots; ++slot) {
        // The input as the matrix forms it: later slots' gains are zero, which is no link.
        alignas(16) float coded[2][kMaxRun];
        for (int channel = 0; channel < 2; ++channel) {
            float* sum = coded[channel];
            const Floats4 inputGain = splat4(routing_.inputGain(channel, slot));
            for (int t = 0; t < padded; t += kLanes)
                wide_lanes::store(sum + t, inputGain * load4(inputs[channel] + t));
            for (int from = 0; from < slot; ++from) {
                const float link = routing_.linkGain(channel, from, slot);
                if (link == 0.0f) continue;
                const Floats4 linkGain = splat4(link);
                const float* source = outputs[from][channel];
                for (int t = 0; t < padded; t += kLanes)
                    wide_lanes::store(sum + t, load4(sum + t) + linkGain * load4(source + t));
            }
            const Floats4 zero = splat4(0.0f);
            const Floats4 low = splat4(-RoutingMatrix::kInputLimit);
            const Floats4 high = splat4(RoutingMatrix::kInputLimit);
            for (int t = 0; t < padded; t += kLanes) {
                Floats4 value = load4(sum + t);
                value = value == value ? value : zero;
                value = value > low ? value : low;
                wide_lanes::store(sum + t, value < high ? value : high);
            }
        }
        if ((midSideBits >> slot) & 1) encodeRun(coded[0], coded[1]);
        Operator* op = workingOperator(modules, slot);
        const bool outputCoded = (midSideBits >> (slot + 4)) & 1;
        const float enable = operatorEnable_[slot].current;
        const float inversion = inversion_[slot];
        float* outLanes[2] = {outputs[slot][0] + 1, outputs[slot][1] + 1};
        if ((op == nullptr || op->passesThrough()) && !outputCoded && enable == 1.0f &&
            inversion == 1.0f) {
            // 1 * x + 0 * x is x, the sign of a zero included (x is finite after the limit).
            for (int channel = 0; channel < 2; ++channel)
                copyLanes(coded[channel], outLanes[channel], padded);
        } else {
            alignas(16) float processed[2][kMaxRun];
            copyLanes(coded[0], processed[0], padded);
            copyLanes(coded[1], processed[1], padded);
            if (op != nullptr && !op->passesThrough())
                op->processRun(processed[0], processed[1], count);
            if (outputCoded) encodeRun(processed[0], processed[1]);
            const Floats4 wetShare = splat4(enable * inversion);
            const Floats4 dryShare = splat4(1.0f - enable);
            for (int channel = 0; channel < 2; ++channel) {
                for (int t = 0; t < padded; t += kLanes) {
                    wide_lanes::store(outLanes[channel] + t,
                                      wetShare * load4(processed[channel] + t) +
                                          dryShare * load4(coded[channel] + t));
                }
            }
        }
        for (int channel = 0; channel < 2; ++channel) {
            const Floats4 outputGain = splat4(routing_.outputGain(channel, slot));
            for (int t = 0; t < padded; t += kLanes) {
                wide_lanes::store(wet[channel] + t, load4(wet[channel] + t) +
                                                        outputGain * load4(outLanes[channel] + t));
            }
        }
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        operatorOut_[0][slot] = outputs[slot][0][count];
        operatorOut_[1][slot] = outputs[slot][1][count];
    }
    wetSum_[0] = wet[0][count - 1];
    wetSum_[1] = wet[1][count - 1];

    alignas(16) float dry[2][kMaxRun] = {};
    for (int t = 0; t < count; ++t) {
        dry[0][t] = inLeft[t];
        dry[1][t] = inRight[t];
        dryDelay_.process(dry[0][t], dry[1][t]);
        peaks.values[0] = maxOf(peaks.values[0], std::fabs(inLeft[t]));
        peaks.values[1] = maxOf(peaks.values[1], std::fabs(inRight[t]));
    }
    float* const outs[2] = {outLeft, outRight};
    const Floats4 one = splat4(1.0f);
    const Floats4 largest = splat4(std::numeric_limits<float>::max());
    for (int channel = 0; channel < 2; ++channel) {
        for (int t = 0; t < padded; t += kLanes) {
            const Floats4 mix = load4(runMix_[channel] + t);
            const Floats4 value = ((one - mix) * load4(dry[channel] + t) +
                                   mix * load4(wet[channel] + t)) *
                                  load4(runOutput_[channel] + t);
            // finiteOrZero: NaN fails the comparison as infinity does
            wide_lanes::store(outs[channel] + t,
                              wide_lanes::absolute(value) <= largest ? value : splat4(0.0f));
        }
    }
}

void SignalPath::takePeaks(float peaks[kMeters]) {
    for (int meter = 0; meter < kMeters; ++meter)
        peaks[meter] = peaks_[meter].exchange(0.0f);
}

}  // namespace kirra
