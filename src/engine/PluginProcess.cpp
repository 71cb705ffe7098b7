// Block processing: host time, modulation sources, then per sample the knobs' smoothing, events,
// the control update every 32 samples and the signal path.

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/Plugin.h"
#include "platform/FloatingPointGuard.h"

namespace kirra {

using namespace param;

namespace {

const float kZeroSource = 0.0f;
// Samples the limiter takes at a time: enough for its loop to run on its own, few enough to stay
// in the nearest cache.
constexpr int32_t kLimiterRun = 64;

template <typename Sample>
inline float readSample(const Sample* channel, int32_t frame) {
    return channel != nullptr ? SignalPath::finiteOrZero(static_cast<float>(channel[frame])) : 0.0f;
}

template <typename Sample>
inline void writeSample(Sample* channel, int32_t frame, float value) {
    if (channel != nullptr) channel[frame] = static_cast<Sample>(value);
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
    if (!gate_.enter()) {
        // Another thread rebuilds the engine (a host changing the rate while it processes).
        for (int output = 0; output < kOutputs; ++output) {
            for (int32_t frame = 0; frame < frames; ++frame)
                writeSample(outputs[output], frame, 0.0f);
        }
        return;
    }
    audioThread_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    installPendingChange();
    modules_.findTapReaders();
    noticeTargets();
    path_.followLimiterMode();

    // Channel mapping: a missing right input reads the left one, a missing sidechain the main
    // input; a missing right output makes the left buffer take both (right last).
    const unsigned pins = connectedPins_;
    auto in = [&](int input) { return isConnected(pins, input) ? inputs[input] : nullptr; };
    const Sample* mainLeft = inputs[0];
    const Sample* mainRight = in(1) != nullptr ? inputs[1] : mainLeft;
    const Sample* sideLeft = in(2) != nullptr ? inputs[2] : mainLeft;
    const Sample* sideRight =
        in(3) != nullptr ? inputs[3] : (in(2) != nullptr ? inputs[2] : mainRight);
    Sample* outLeft = outputs[0];
    Sample* outRight =
        isConnected(pins, kInputs + 1) && outputs[1] != nullptr ? outputs[1] : outLeft;

    readHostTime(frames);
    modules_.setHostTime(tempoBpm_, static_cast<float>(songPosition_));
    resolveSources();
    nextEvent_ = 0;
    eventsStopped_ = false;

    SignalPath::BlockPeaks peaks;
    // The path's samples wait here for the limiter, which takes them a run at a time.
    alignas(16) float runLeft[kLimiterRun + SignalPath::kRunSlack];
    alignas(16) float runRight[kLimiterRun + SignalPath::kRunSlack];
    int32_t runStart = 0;
    const auto finishRun = [&](int32_t end) {
        const int count = static_cast<int>(end - runStart);
        path_.limitOutputs(runLeft, runRight, count, peaks);
        for (int k = 0; k < count; ++k) {
            writeSample(outLeft, runStart + k, runLeft[k]);
            writeSample(outRight, runStart + k, runRight[k]);
        }
        runStart = end;
    };
    const float coefficient = smoothingCoefficient_;
    // The inputs of a run of operators in turn.
    alignas(16) float runInLeft[kLimiterRun + SignalPath::kRunSlack];
    alignas(16) float runInRight[kLimiterRun + SignalPath::kRunSlack];
    static_assert(kLimiterRun <= SignalPath::kMaxRun);
    for (int32_t frame = 0; frame < frames;) {
        knobs_.step(coefficient);
        float inLeft = readSample(mainLeft, frame) * path_.inputGain(0);
        float inRight = readSample(mainRight, frame) * path_.inputGain(1);
        float sidechainLeft = readSample(sideLeft, frame);
        float sidechainRight = readSample(sideRight, frame);
        path_.smoothLevels(coefficient);
        if (pendingEvents_ != nullptr && !eventsStopped_) {
            handleEventsAt(frame);
            noticeTargets();
        }
        if (++controlCounter_ >= kControlPeriod) controlUpdate();

        // Up to the next control update, event or limiter run, the operators may run in turn.
        const int32_t runEnd =
            path_.canRunOperatorsInTurn(modules_)
                ? std::min({frames, runStart + kLimiterRun,
                            frame + (kControlPeriod - controlCounter_), nextEventFrame(frame)})
                : frame + 1;
        const int offset = static_cast<int>(frame - runStart);
        if (runEnd - frame > 1) {
            const int count = static_cast<int>(runEnd - frame);
            // The rest of the run's samples up to the operators. The smoothing steps, the
            // modulators and the ramps depend on none of the others within a run; the sidechain
            // only reaches the taps, which nobody reads now.
            path_.advanceRun(modules_, count);
            knobs_.steps(coefficient, count - 1);
            path_.smoothLevels(coefficient, count - 1);
            runInLeft[0] = inLeft;
            runInRight[0] = inRight;
            for (int k = 1; k < count; ++k) {
                runInLeft[k] = readSample(mainLeft, frame + k) * path_.runInputGain(0, k);
                runInRight[k] = readSample(mainRight, frame + k) * path_.runInputGain(1, k);
            }
            std::fill_n(runInLeft + count, SignalPath::kRunSlack, 0.0f);
            std::fill_n(runInRight + count, SignalPath::kRunSlack, 0.0f);
            controlCounter_ += count - 1;
            path_.processRun(modules_, runInLeft, runInRight, count, &runLeft[offset],
                             &runRight[offset], peaks);
            frame = runEnd;
        } else {
            path_.processSample(modules_, inLeft, inRight, sidechainLeft, sidechainRight,
                                runLeft[offset], runRight[offset], peaks);
            ++frame;
        }
        if (frame - runStart == kLimiterRun) finishRun(frame);
    }
    finishRun(frames);

    path_.publishPeaks(peaks);
    pendingEvents_ = nullptr;
    gate_.leave();
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
            tempoBpm_ = static_cast<float>(
                std::fmin(std::fmax(info->tempo, kLowestTempoBpm), kHighestTempoBpm));
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
        // The addresses of a source never change: a slot keeps its own until its source does.
        if (source == resolvedSources_[k]) continue;
        resolvedSources_[k] = source;
        const float* left = &kZeroSource;
        const float* right = &kZeroSource;
        if (source < ModulationSlots::kSourceKnob1) {
            left = &modules_.modulatorOutputs()[0][source];
            right = &modules_.modulatorOutputs()[1][source];
        } else if (source < ModulationSlots::kSourceController0) {
            left = right = knobs_.valueAddress(source - ModulationSlots::kSourceKnob1);
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

void Plugin::noticeTargets() {
    knobs_.noticeTargets();
    path_.main().noticeTargets();
}

void Plugin::controlUpdate() {
    modules_.resetModulation();
    path_.resetModulation();
    slots_.resetWorking();

    applyModulation();

    modules_.updateParameters();
    path_.updateRamps();
    controlCounter_ = 0;
    noticeTargets();
    slots_.latch();
}

void Plugin::applyModulation() {
    using Slots = ModulationSlots;
    MainSection& main = path_.main();
    RoutingMatrix& routing = path_.routing();
    // Each slot's destination is read once, so that both passes below see the same one even
    // while another thread changes it: a destination added to is always clamped.
    int destinations[kModulationSlots];
    unsigned aimed = 0;
    for (int k = 0; k < kModulationSlots; ++k) {
        destinations[k] = slots_.getDestination(k);
        if (destinations[k] < Slots::kDestinationNone) aimed |= 1u << k;
    }
    if (aimed == 0) return;
    // All additions first, then one clamp per slot, so several slots on one destination add up
    // before a single clamp.
    for (int pass = 0; pass < 2; ++pass) {
        const bool adding = pass == 0;
        for (int k = 0; k < kModulationSlots; ++k) {
            if (((aimed >> k) & 1u) == 0) continue;
            const int destination = destinations[k];
            float left = adding ? slots_.amount(k, 0) : 0.0f;
            float right = adding ? slots_.amount(k, 1) : 0.0f;
            if (destination < Slots::kDestinationOperator) {
                int level = destination - Slots::kDestinationMain;
                adding ? main.addModulation(level, left, right) : main.clampModulation(level);
            } else if (destination < Slots::kDestinationModulator) {
                int offset = destination - Slots::kDestinationOperator;
                Operator& op = modules_.operatorIn(offset / kOperatorPositions);
                int position = offset % kOperatorPositions;
                adding ? op.addModulation(position, left, right) : op.clampModulation(position);
            } else if (destination < Slots::kDestinationRouting) {
                int offset = destination - Slots::kDestinationModulator;
                Modulator& modulator = modules_.modulatorIn(offset / kModulatorPositions);
                int position = offset % kModulatorPositions;
                adding ? modulator.addModulation(position, left, right)
                       : modulator.clampModulation(position);
            } else if (destination < Slots::kDestinationSensitivity) {
                int gain = destination - Slots::kDestinationRouting;
                adding ? routing.addModulation(gain, left, right) : routing.clampModulation(gain);
            } else {
                int slot = destination - Slots::kDestinationSensitivity;
                adding ? slots_.addToSensitivity(slot, left, right) : slots_.clampSensitivity(slot);
            }
        }
    }
}

int32_t Plugin::nextEventFrame(int32_t frame) const {
    if (pendingEvents_ == nullptr || eventsStopped_ || nextEvent_ >= pendingEvents_->numEvents)
        return std::numeric_limits<int32_t>::max();
    const vst::VstEvent* event = pendingEvents_->events[nextEvent_];
    // A missing or out-of-order event stops the handling at the next frame.
    if (event == nullptr || event->deltaFrames <= frame) return frame + 1;
    return event->deltaFrames;
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
