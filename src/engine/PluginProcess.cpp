// Block processing: host time, modulation sources, then per sample the control update every
// 32 samples, modulators, the operator matrix, dry delay, mix, limiter and meters.

#include <cmath>

#include "engine/Plugin.h"
#include "modules/ModuleCatalogue.h"
#include "platform/FloatingPointGuard.h"

namespace kirra {

using namespace param;

namespace {

constexpr float kHalfSqrt2 = 0.70710677f;  // sqrt(1/2) in single precision
const float kZeroSource = 0.0f;

// A non-finite sample from outside would otherwise stay in feedback paths and filter states.
inline float finiteOrZero(float sample) {
    return std::isfinite(sample) ? sample : 0.0f;
}

template <typename Sample>
inline float readSample(const Sample* channel, int32_t frame) {
    return channel != nullptr ? finiteOrZero(static_cast<float>(channel[frame])) : 0.0f;
}

template <typename Sample>
inline void writeSample(Sample* channel, int32_t frame, float value) {
    if (channel != nullptr) channel[frame] = static_cast<Sample>(value);
}

inline void encodeMidSide(float& a, float& b) {
    float mid = (a + b) * kHalfSqrt2;
    float side = (a - b) * kHalfSqrt2;
    a = mid;
    b = side;
}

inline void mergePeak(std::atomic<float>& shared, float local) {
    float current = shared.load(std::memory_order_relaxed);
    while (local > current &&
           !shared.compare_exchange_weak(current, local, std::memory_order_relaxed)) {
    }
}

}  // namespace

void Plugin::processReplacing(float** inputs, float** outputs, int32_t frames) {
    processBlock(inputs, outputs, frames);
}

void Plugin::processDoubleReplacing(double** inputs, double** outputs, int32_t frames) {
    processBlock(inputs, outputs, frames);
}

template <typename Sample>
void Plugin::processBlock(Sample** inputs, Sample** outputs, int32_t frames) {
    if (inputs == nullptr || outputs == nullptr || frames <= 0) return;
    platform::FloatingPointGuard floatingPoint;
    platform::EngineLock lock(mutex_);

    // Channel mapping: a missing right input reads the left one, a missing sidechain the main
    // input; a missing right output makes the left buffer take both (right last).
    const Connections& pins = connections_;
    const Sample* mainLeft = inputs[0];
    const Sample* mainRight = pins.input[1] && inputs[1] != nullptr ? inputs[1] : mainLeft;
    const Sample* sideLeft = pins.input[2] && inputs[2] != nullptr ? inputs[2] : mainLeft;
    const Sample* sideRight = pins.input[3] && inputs[3] != nullptr
                                  ? inputs[3]
                                  : (pins.input[2] && inputs[2] != nullptr ? inputs[2] : mainRight);
    Sample* outLeft = outputs[0];
    Sample* outRight = pins.output[1] && outputs[1] != nullptr ? outputs[1] : outLeft;

    readHostTime(frames);
    float songPosition = static_cast<float>(songPosition_);
    for (int slot = 0; slot < kSlotCount; ++slot)
        modulators_[slot]->setSongPosition(songPosition);
    for (int slot = 0; slot < kSlotCount; ++slot)
        operators_[slot]->setTempo(tempoBpm_);
    for (int slot = 0; slot < kSlotCount; ++slot)
        modulators_[slot]->setTempo(tempoBpm_);
    resolveSources();
    nextEvent_ = 0;
    eventsStopped_ = false;

    float peaks[kMeters] = {};
    const float coefficient = smoothingCoefficient_;
    for (int32_t frame = 0; frame < frames; ++frame) {
        for (int knob = 0; knob < kKnobCount; ++knob) {
            knobSmoothed_[knob] += (knobTarget_[knob] - knobSmoothed_[knob]) * coefficient;
        }
        float inLeft = readSample(mainLeft, frame) * main_.gain(MainSection::kInputLevel, 0);
        float inRight = readSample(mainRight, frame) * main_.gain(MainSection::kInputLevel, 1);
        float sidechainLeft = readSample(sideLeft, frame);
        float sidechainRight = readSample(sideRight, frame);
        main_.smooth(coefficient);
        if (pendingEvents_ != nullptr && !eventsStopped_) handleEventsAt(frame);
        if (++controlCounter_ >= kControlPeriod) controlUpdate();

        // Taps: this sample's input and sidechain, the previous sample's operator outputs.
        taps_[0][kTapInput] = inLeft;
        taps_[1][kTapInput] = inRight;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            taps_[0][kTapOperator1 + slot] = operatorOut_[0][slot];
            taps_[1][kTapOperator1 + slot] = operatorOut_[1][slot];
        }
        taps_[0][kTapWetSum] = wetSum_[0];
        taps_[1][kTapWetSum] = wetSum_[1];
        taps_[0][kTapSidechain] = sidechainLeft;
        taps_[1][kTapSidechain] = sidechainRight;

        for (int slot = 0; slot < kSlotCount; ++slot) {
            // An empty slot's output stays at the zero its Empty would write.
            if (modulatorType_[slot] == kEmpty) continue;
            Modulator& modulator = *modulators_[slot];
            modulator.generateSample(modulatorOut_[0][slot], modulatorOut_[1][slot]);
            modulatorOut_[0][slot] *= modulatorEnable_[slot].current;
            modulatorOut_[1][slot] *= modulatorEnable_[slot].current;
        }

        main_.advanceRamps();
        routing_.advanceRamps();
        for (int slot = 0; slot < kSlotCount; ++slot)
            operatorEnable_[slot].advance();
        for (int slot = 0; slot < kSlotCount; ++slot)
            modulatorEnable_[slot].advance();

        // Every operator-to-operator link reads the previous sample: one sample of delay each.
        alignas(16) float opInLeft[kSlotCount];
        alignas(16) float opInRight[kSlotCount];
        routing_.operatorInputs(0, inLeft, operatorOut_[0], opInLeft);
        routing_.operatorInputs(1, inRight, operatorOut_[1], opInRight);

        float wetLeft = 0.0f;
        float wetRight = 0.0f;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            float codedLeft = opInLeft[slot];
            float codedRight = opInRight[slot];
            if ((midSideBits_ >> slot) & 1) encodeMidSide(codedLeft, codedRight);
            float a = codedLeft;
            float b = codedRight;
            Operator& op = *operators_[slot];
            op.processSample(a, b);
            if ((midSideBits_ >> (slot + 4)) & 1) encodeMidSide(a, b);  // the same matrix decodes
            float enable = operatorEnable_[slot].current;
            float wetShare = enable * inversion_[slot];
            float left = wetShare * a + (1.0f - enable) * codedLeft;
            float right = wetShare * b + (1.0f - enable) * codedRight;
            operatorOut_[0][slot] = left;
            operatorOut_[1][slot] = right;
            wetLeft += routing_.outputGain(0, slot) * left;
            wetRight += routing_.outputGain(1, slot) * right;
        }
        wetSum_[0] = wetLeft;
        wetSum_[1] = wetRight;

        float dryLeft = inLeft;
        float dryRight = inRight;
        dryDelay_.process(dryLeft, dryRight);

        float mixLeft = main_.gain(MainSection::kMixLevel, 0);
        float mixRight = main_.gain(MainSection::kMixLevel, 1);
        float outputLeft = ((1.0f - mixLeft) * dryLeft + mixLeft * wetLeft) *
                           main_.gain(MainSection::kOutputLevel, 0);
        float outputRight = ((1.0f - mixRight) * dryRight + mixRight * wetRight) *
                            main_.gain(MainSection::kOutputLevel, 1);
        // An operator that blew up must not take the limiter's envelopes with it.
        outputLeft = finiteOrZero(outputLeft);
        outputRight = finiteOrZero(outputRight);
        if (limiter_.isEnabled()) limiter_.process(outputLeft, outputRight);

        writeSample(outLeft, frame, outputLeft);
        writeSample(outRight, frame, outputRight);
        peaks[0] = maxOf(peaks[0], std::fabs(inLeft));
        peaks[1] = maxOf(peaks[1], std::fabs(inRight));
        peaks[2] = maxOf(peaks[2], std::fabs(outputLeft));
        peaks[3] = maxOf(peaks[3], std::fabs(outputRight));
    }

    for (int meter = 0; meter < kMeters; ++meter)
        mergePeak(peaks_[meter], peaks[meter]);
    pendingEvents_ = nullptr;
}

template void Plugin::processBlock<float>(float**, float**, int32_t);
template void Plugin::processBlock<double>(double**, double**, int32_t);

void Plugin::readHostTime(int32_t frames) {
    const vst::VstTimeInfo* info = getTimeInfo(vst::kTempoValid | vst::kPpqPosValid);
    bool playing = false;
    double position = 0.0;
    if (info != nullptr) {
        playing = (info->flags & vst::kTransportPlaying) != 0;
        if ((info->flags & vst::kTempoValid) != 0 && std::isfinite(info->tempo)) {
            tempoBpm_ = static_cast<float>(std::fmin(std::fmax(info->tempo, kLowestTempoBpm), kHighestTempoBpm));
        }
        // Without a valid position the host's transport cannot be followed.
        if ((info->flags & vst::kPpqPosValid) == 0 || !std::isfinite(info->ppqPos)) playing = false;
        int offsetSixteenths = units::songOffsetSixteenths(values_[kPpqOffset]);
        position = info->ppqPos + 0.25 * offsetSixteenths;
    }
    if (valueToIndex(values_[kTempoSync], kTempoSyncStates) == 0) {
        tempoBpm_ = units::tempoBpm(values_[kTempo]);
    }
    if (!playing) position = runningPosition_;
    songPosition_ = position;
    runningPosition_ += frames * (1.0 / 60.0) * (1.0 / sampleRate_) * tempoBpm_;
}

void Plugin::resolveSources() {
    for (int k = 0; k < kModulationSlots; ++k) {
        int source = slots_.getSource(k);
        const float* left = &kZeroSource;
        const float* right = &kZeroSource;
        if (source < ModulationSlots::kSourceKnob1) {
            left = &modulatorOut_[0][source];
            right = &modulatorOut_[1][source];
        } else if (source < ModulationSlots::kSourceController0) {
            left = right = &knobSmoothed_[source - ModulationSlots::kSourceKnob1];
        } else if (source < ModulationSlots::kSourceNoteGate) {
            left = right = &midi_.controllers[source - ModulationSlots::kSourceController0];
        } else if (source == ModulationSlots::kSourceNoteGate) {
            left = right = &midi_.gate;
        } else if (source == ModulationSlots::kSourceNoteNumber) {
            left = right = &midi_.noteNumber;
        } else if (source == ModulationSlots::kSourceNoteFrequency) {
            left = right = &midi_.noteFrequency;
        } else if (source == ModulationSlots::kSourcePitchBend) {
            left = right = &midi_.pitchBend;
        } else if (source == ModulationSlots::kSourceVelocity) {
            left = right = &midi_.velocity;
        } else if (source == ModulationSlots::kSourceAftertouch) {
            left = right = &midi_.keyPressure;
        } else if (source == ModulationSlots::kSourceChannelPressure) {
            left = right = &midi_.channelPressure;
        }
        slots_.resolve(k, left, right);
    }
}

void Plugin::controlUpdate() {
    for (auto& op : operators_)
        op->resetModulation();
    for (auto& modulator : modulators_)
        modulator->resetModulation();
    routing_.resetModulation();
    slots_.resetWorking();
    main_.resetModulation();

    applyModulation();

    for (auto& op : operators_)
        op->updateParameters();
    for (auto& modulator : modulators_)
        modulator->updateParameters();
    routing_.updateRamps();
    main_.updateRamps();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        operatorEnable_[slot].setTarget(operatorEnableTarget_[slot]);
        modulatorEnable_[slot].setTarget(modulatorEnableTarget_[slot]);
    }
    controlCounter_ = 0;
    slots_.latch();
}

void Plugin::applyModulation() {
    using Slots = ModulationSlots;
    // All additions first, then one clamp per slot, so several slots on one destination add up
    // before a single clamp.
    for (int pass = 0; pass < 2; ++pass) {
        const bool adding = pass == 0;
        for (int k = 0; k < kModulationSlots; ++k) {
            int destination = slots_.getDestination(k);
            if (destination >= Slots::kDestinationNone) continue;
            float left = adding ? slots_.amount(k, 0) : 0.0f;
            float right = adding ? slots_.amount(k, 1) : 0.0f;
            if (destination < Slots::kDestinationOperator) {
                int level = destination - Slots::kDestinationMain;
                adding ? main_.addModulation(level, left, right) : main_.clampModulation(level);
            } else if (destination < Slots::kDestinationModulator) {
                int offset = destination - Slots::kDestinationOperator;
                Operator& op = *operators_[offset / kOperatorPositions];
                int position = offset % kOperatorPositions;
                adding ? op.addModulation(position, left, right) : op.clampModulation(position);
            } else if (destination < Slots::kDestinationRouting) {
                int offset = destination - Slots::kDestinationModulator;
                Modulator& modulator = *modulators_[offset / kModulatorPositions];
                int position = offset % kModulatorPositions;
                adding ? modulator.addModulation(position, left, right)
                       : modulator.clampModulation(position);
            } else if (destination < Slots::kDestinationSensitivity) {
                int gain = destination - Slots::kDestinationRouting;
                adding ? routing_.addModulation(gain, left, right) : routing_.clampModulation(gain);
            } else {
                int slot = destination - Slots::kDestinationSensitivity;
                adding ? slots_.addToSensitivity(slot, left, right) : slots_.clampSensitivity(slot);
            }
        }
    }
}

void Plugin::handleEventsAt(int32_t frame) {
    const vst::VstEvents& list = *pendingEvents_;
    while (nextEvent_ < list.numEvents) {
        const vst::VstEvent* event = list.events[nextEvent_];
        if (event == nullptr) {
            eventsStopped_ = true;
            return;
        }
        // Handling stops at the first event that is not due now; events out of order or
        // beyond the block are never reached.
        if (event->deltaFrames != frame) {
            if (event->deltaFrames < frame) eventsStopped_ = true;
            return;
        }
        ++nextEvent_;
        if (event->type == vst::kMidiEventType) {
            const auto* midi = reinterpret_cast<const vst::VstMidiEvent*>(event);
            handleMidiMessage(static_cast<uint8_t>(midi->midiData[0]),
                              static_cast<uint8_t>(midi->midiData[1]),
                              static_cast<uint8_t>(midi->midiData[2]));
        }
    }
}

}  // namespace kirra
