#include "engine/SignalPath.h"

#include <algorithm>
#include <limits>

#include "modules/WideLanes.h"

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
    followRestingControls();
    dryDelay_.reset();
    for (auto& peak : peaks_)
        peak.store(0.0f);
    limiter_.reset();
}

void SignalPath::clearOperatorOutputs() {
    std::fill(&operatorOut_[0][0], &operatorOut_[0][0] + 2 * kSlots, 0.0f);
}

void SignalPath::followRestingControls() {
    // A ramp whose next step changes no bit never will before it takes a new target.
    bool moving = false;
    for (int slot = 0; slot < kSlots; ++slot) {
        const LinearRamp& op = operatorEnable_[slot];
        const LinearRamp& mod = modulatorEnable_[slot];
        moving |= !sameBits(op.current + op.increment, op.current);
        moving |= !sameBits(mod.current + mod.increment, mod.current);
    }
    enablesMoving_ = moving;
    feedsForwardAtRest_ = routing_.feedsForwardAtRest();
}

void SignalPath::advanceRun(ModuleSlots& modules, int count) {
    const auto keepGains = [&](int index) {
        for (int channel = 0; channel < 2; ++channel) {
            runInput_[channel][index] = main_.gain(MainSection::kInputLevel, channel);
            runMix_[channel][index] = main_.gain(MainSection::kMixLevel, channel);
            runOutput_[channel][index] = main_.gain(MainSection::kOutputLevel, channel);
        }
    };
    // With nothing to run and no ramp moving, every sample's step leaves all as it is.
    if (!modules.anyModulatorPresent() && !main_.rampsMoving() && !routing_.isRamping() &&
        !enablesMoving_) {
        keepGains(0);
        runGainsHeld_ = true;
        return;
    }
    runGainsHeld_ = false;
    for (int index = 0; index < count; ++index) {
        advanceControls(modules);
        keepGains(index);
    }
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
// The largest magnitude of a run: the inputs are never NaN, so the lanes' maxima give the
// sequential one whatever the order.
inline float peakOf(const float* samples, int count) {
    const int whole = count / kLanes * kLanes;
    Floats4 lanes = splat4(0.0f);
    for (int t = 0; t < whole; t += kLanes)
        lanes = wide_lanes::maximum(lanes, wide_lanes::absolute(load4(samples + t)));
    float peak = maxOf(maxOf(lanes[0], lanes[1]), maxOf(lanes[2], lanes[3]));
    for (int t = whole; t < count; ++t)
        peak = maxOf(peak, std::fabs(samples[t]));
    return peak;
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
    alignas(16) float wet[2][kMaxRun];
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
    // The input of `slot` as the matrix forms it, limited, into `inputLanes`; and the wet sum
    // raised by the slot's output in `outputLanes` (it starts from 0.0f, as sample by sample).
    // Later slots' gains are zero, which is no link.
    const auto formInput = [&](int slot, int channel, float* inputLanes) {
        Floats4 linkGains[kSlots];
        const float* sources[kSlots];
        int links = 0;
        for (int from = 0; from < slot; ++from) {
            const float link = routing_.linkGain(channel, from, slot);
            if (link == 0.0f) continue;
            linkGains[links] = splat4(link);
            sources[links++] = outputs[from][channel];
        }
        const Floats4 inputGain = splat4(routing_.inputGain(channel, slot));
        for (int t = 0; t < padded; t += kLanes) {
            Floats4 sum = inputGain * load4(inputs[channel] + t);
            for (int link = 0; link < links; ++link)
                sum += linkGains[link] * load4(sources[link] + t);
            wide_lanes::store(inputLanes + t, RoutingMatrix::limitInputs(sum));
        }
    };
    bool wetStarted[2] = {false, false};
    const auto addToWet = [&](int slot, int channel, const float* outputLanes) {
        const float gain = routing_.outputGain(channel, slot);
        if (gain == 0.0f) return;
        const Floats4 outputGain = splat4(gain);
        for (int t = 0; t < padded; t += kLanes) {
            const Floats4 sum = wetStarted[channel] ? load4(wet[channel] + t) : splat4(0.0f);
            wide_lanes::store(wet[channel] + t, sum + outputGain * load4(outputLanes + t));
        }
        wetStarted[channel] = true;
    };
    for (int slot = 0; slot < kSlots; ++slot) {
        Operator* op = workingOperator(modules, slot);
        const bool inputCoded = (midSideBits >> slot) & 1;
        const bool outputCoded = (midSideBits >> (slot + 4)) & 1;
        const float enable = operatorEnable_[slot].current;
        const float inversion = inversion_[slot];
        float* outLanes[2] = {outputs[slot][0] + 1, outputs[slot][1] + 1};
        if ((op == nullptr || op->passesThrough()) && !inputCoded && !outputCoded &&
            enable == 1.0f && inversion == 1.0f) {
            // The output is the input: 1 * x + 0 * x is x, the sign of a zero included (x is
            // finite after the limit).
            for (int channel = 0; channel < 2; ++channel) {
                formInput(slot, channel, outLanes[channel]);
                addToWet(slot, channel, outLanes[channel]);
            }
            continue;
        }
        alignas(16) float coded[2][kMaxRun];
        formInput(slot, 0, coded[0]);
        formInput(slot, 1, coded[1]);
        if (inputCoded) encodeRun(coded[0], coded[1]);
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
                wide_lanes::store(outLanes[channel] + t, wetShare * load4(processed[channel] + t) +
                                                             dryShare * load4(coded[channel] + t));
            }
            addToWet(slot, channel, outLanes[channel]);
        }
    }
    for (int channel = 0; channel < 2; ++channel) {
        if (!wetStarted[channel]) std::fill_n(wet[channel], padded, 0.0f);
    }
    for (int slot = 0; slot < kSlots; ++slot) {
        operatorOut_[0][slot] = outputs[slot][0][count];
        operatorOut_[1][slot] = outputs[slot][1][count];
    }
    wetSum_[0] = wet[0][count - 1];
    wetSum_[1] = wet[1][count - 1];

    alignas(16) float dry[2][kMaxRun];
    for (int t = count; t < padded; ++t)
        dry[0][t] = dry[1][t] = 0.0f;
    dryDelay_.processRun(inLeft, inRight, dry[0], dry[1], count);
    peaks.values[0] = maxOf(peaks.values[0], peakOf(inLeft, count));
    peaks.values[1] = maxOf(peaks.values[1], peakOf(inRight, count));
    float* const outs[2] = {outLeft, outRight};
    const Floats4 one = splat4(1.0f);
    const Floats4 largest = splat4(std::numeric_limits<float>::max());
    for (int channel = 0; channel < 2; ++channel) {
        // Held gains are the first sample's.
        const int step = runGainsHeld_ ? 0 : kLanes;
        const float* mixLanes = runMix_[channel];
        const float* outputLanes = runOutput_[channel];
        for (int t = 0; t < padded; t += kLanes, mixLanes += step, outputLanes += step) {
            const Floats4 mix = runGainsHeld_ ? splat4(*mixLanes) : load4(mixLanes);
            const Floats4 output = runGainsHeld_ ? splat4(*outputLanes) : load4(outputLanes);
            const Floats4 value =
                ((one - mix) * load4(dry[channel] + t) + mix * load4(wet[channel] + t)) * output;
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
