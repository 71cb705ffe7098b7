#include "modulators/ADSR.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "modulators/ModulatorMath.h"
#include "modules/NoteValues.h"

namespace kirra {

namespace {

const char* const kModeDisplays[ADSR::kModeCount] = {"ms", "rhythmic"};
const char* const kModeCaptions[ADSR::kModeCount] = {"absolute time", "tempo-related"};

// Release times reach ten times further than the other segments.
constexpr float kReleaseScale = 10.0f;
// Levels at or below this show as minus infinity on the panel.
constexpr float kSilentLevel = 0.00001f;

bool isTime(int position) {
    return position == ADSR::kDelay || position == ADSR::kAttack || position == ADSR::kHold ||
           position == ADSR::kDecay || position == ADSR::kRelease;
}

float cube(float value) {
    return value * value * value;
}

// Seconds of an absolute time value.
float secondsOf(int position, float value) {
    return position == ADSR::kRelease ? kReleaseScale * value : value;
}

bool inTempo(const Module& module) {
    return valueToIndex(module.getBaseValue(ADSR::kMode), ADSR::kModeCount) == ADSR::kTempoMode;
}

// The times read in milliseconds or, at the tempo, as entries of the note value table.
template <int Position>
void timeDisplay(const Module& module, float value, ModuleText& text) {
    if (inTempo(module)) {
        formatText(text, "%.2f", ADSR::divisionLength(valueToIndex(value, ADSR::kDivisionCount)));
    } else {
        formatText(text, "%.2f", 1000.0f * secondsOf(Position, value));
    }
}

template <int Position>
void timeEditorText(const Module& module, float value, ModuleText& text) {
    if (inTempo(module)) {
        setText(text, ADSR::divisionName(valueToIndex(value, ADSR::kDivisionCount)));
        return;
    }
    int milliseconds = static_cast<int>(1000.0f * secondsOf(Position, value));
    if (milliseconds < 1000) {
        formatText(text, "%dms", milliseconds);
    } else if (Position == ADSR::kRelease) {
        formatText(text, "%.1fs", kReleaseScale * value);
    } else {
        setText(text, "1sec");
    }
}

template <int Position>
float timeFromText(const Module& module, const char* text, float currentValue) {
    if (inTempo(module)) {
        int index = noteValueFromText(text);
        if (index >= 0) return indexToValue(index + 1, ADSR::kDivisionCount);
        float zero;
        return parseNumber(text, zero) && zero == 0.0f ? indexToValue(0, ADSR::kDivisionCount)
                                                       : currentValue;
    }
    float number;
    if (!parseNumber(text, number)) return currentValue;
    // Milliseconds unless the text says seconds ("1sec", "2.5s").
    bool seconds = std::strchr(text, 's') != nullptr && std::strstr(text, "ms") == nullptr;
    float value =
        (seconds ? number : number / 1000.0f) / (Position == ADSR::kRelease ? kReleaseScale : 1.0f);
    return sanitizeUnit(value);
}

// A note value is a length without a unit.
void timeLabel(const Module& module, ModuleText& text) {
    setText(text, inTempo(module) ? "" : "ms");
}

template <int Position>
constexpr PositionDescriptor timeRow(const char* name, const char* caption, float defaultValue) {
    return {name,
            caption,
            "ms",
            defaultValue,
            timeDisplay<Position>,
            timeEditorText<Position>,
            timeFromText<Position>,
            0,
            true,
            timeLabel};
}

// Decibels as the panel shows them, minus infinity from kSilentLevel down.
void panelDecibels(float gain, ModuleText& text) {
    if (gain <= kSilentLevel) {
        setText(text, "-oodB");
    } else {
        formatText(text, "%.0fdB", 20.0 * std::log10(static_cast<double>(gain)));
    }
}

// Levels (sustain and the trigger thresholds) are the cube of the value.
void levelDisplay(const Module& /*module*/, float value, ModuleText& text) {
    decibelText(text, cube(value), "%.0f");
}

void levelEditorText(const Module& /*module*/, float value, ModuleText& text) {
    panelDecibels(cube(value), text);
}

float levelFromText(const Module& /*module*/, const char* text, float currentValue) {
    float gain;
    if (!gainFromDecibelText(text, gain)) return currentValue;
    return sanitizeUnit(std::cbrt(gain));
}

constexpr PositionDescriptor levelRow(const char* name, const char* caption, float defaultValue) {
    return {name, caption, "dB", defaultValue, levelDisplay, levelEditorText, levelFromText};
}

void sensitivityEditorText(const Module& /*module*/, float value, ModuleText& text) {
    panelDecibels(sensitivityGain(value), text);
}

// The trigger is a signal, not a setting: it shows nothing.
void triggerDisplay(const Module& /*module*/, float /*value*/, ModuleText& text) {
    setText(text, "");
}

const PositionDescriptor kParameters[] = {
    {"trigger", "", "", 0.0f, triggerDisplay},
    timeRow<ADSR::kDelay>("delay", "delay", 0.5f / ADSR::kDivisionCount),
    timeRow<ADSR::kAttack>("attack", "attck", 6.5f / ADSR::kDivisionCount),
    timeRow<ADSR::kHold>("hold", "hold", 0.5f / ADSR::kDivisionCount),
    timeRow<ADSR::kDecay>("decay", "decay", 6.5f / ADSR::kDivisionCount),
    levelRow("sustain", "sustn", 0.62996054f),  // 0.25, -12 dB
    timeRow<ADSR::kRelease>("release", "rels", 4.5f / ADSR::kDivisionCount),
    levelRow("trigon", "trig on", 0.62996054f),     // -12 dB
    levelRow("trigoff", "trig off", 0.099212565f),  // -60 dB
    {"trigsens", "trig sens", "dB", 0.5f, sensitivityDisplay, sensitivityEditorText,
     sensitivityFromText},  // gain 1
    // read from its base value only, so no modulation destination
    {"mode", "mode", "", 0.75f, namedChoice<kModeDisplays>, namedChoice<kModeCaptions>,
     eitherNameFromText<kModeCaptions, kModeDisplays>, choiceCount<kModeDisplays>, false},
    {"depth", "depth", "%", 1.0f, percentDisplay, percentEditorText, percentTyped},
};
static_assert(std::size(kParameters) == ADSR::kPositionCount, "a row for every position");

}  // namespace

ADSR::ADSR(int slot, ModuleOwner* owner)
    : Modulator(kADSR, slot, owner, kParameters, std::size(kParameters)) {}

float ADSR::divisionLength(int entry) {
    return entry <= 0 ? 0.0f : noteValueLength(entry - 1);
}

const char* ADSR::divisionName(int entry) {
    return entry <= 0 ? "0" : noteValueName(entry - 1);
}

float ADSR::convertTime(int position, float value, int newMode, float bpm) {
    if (!isTime(position)) return value;
    const float secondsPerWhole = 240.0f / usableTempo(bpm);
    if (newMode == kAbsoluteMode) {
        float seconds = secondsPerWhole * divisionLength(valueToIndex(value, kDivisionCount));
        return sanitizeUnit(position == kRelease ? seconds / kReleaseScale : seconds);
    }
    float seconds = secondsOf(position, value);
    int nearest = 0;
    for (int entry = 1; entry < kDivisionCount; ++entry) {
        if (std::fabs(secondsPerWhole * divisionLength(entry) - seconds) <
            std::fabs(secondsPerWhole * divisionLength(nearest) - seconds)) {
            nearest = entry;
        }
    }
    return indexToValue(nearest, kDivisionCount);
}

void ADSR::computeSegments(int channel, const Relaxed<float>* values) {
    Segments& segments = segments_[channel];
    const double rate = sampleRate_;
    double samples[5];
    const int times[5] = {kDelay, kAttack, kHold, kDecay, kRelease};
    if (valueToIndex(base_[kMode], kModeCount) == kTempoMode) {
        // Note values follow the tempo; modulating them would tear the grid, so the base counts.
        const double samplesPerWhole = rate * 240.0 / usableTempo(tempoBpm_);
        for (int segment = 0; segment < 5; ++segment) {
            int entry = valueToIndex(base_[times[segment]], kDivisionCount);
            samples[segment] = samplesPerWhole * divisionLength(entry);
        }
    } else {
        for (int segment = 0; segment < 5; ++segment)
            samples[segment] = rate * secondsOf(times[segment], values[times[segment]]);
    }
    segments.delaySamples = static_cast<int>(samples[0]);
    segments.attackSamples = static_cast<int>(samples[1]);
    segments.holdSamples = static_cast<int>(samples[2]);
    segments.decaySamples = static_cast<int>(samples[3]);
    segments.releaseSamples = static_cast<int>(samples[4]);
    // Each segment is a one-pole curve whose time constant is the segment's own length.
    segments.attackCoefficient = timeConstantCoefficient(samples[1]);
    segments.decayCoefficient = timeConstantCoefficient(samples[3]);
    segments.releaseCoefficient = timeConstantCoefficient(samples[4]);
    segments.triggerOn = cube(values[kTriggerOn]);
    segments.triggerOff = cube(values[kTriggerOff]);
    segments.triggerLevel = sensitivityGain(values[kTriggerSensitivity]) * values[kTrigger];
}

void ADSR::updateParameters() {
    const Relaxed<float>* copies[2] = {left_, right_};
    for (int channel = 0; channel < 2; ++channel) {
        computeSegments(channel, copies[channel]);
        sustain_[channel].setTarget(cube(copies[channel][kSustain]));
        depth_[channel].setTarget(copies[channel][kDepth]);
        plotState_[channel].store(envelope_[channel].state, std::memory_order_relaxed);
        plotTrigger_[channel].store(segments_[channel].triggerLevel, std::memory_order_relaxed);
    }
}

void ADSR::snapToTargets() {
    for (int channel = 0; channel < 2; ++channel) {
        sustain_[channel].snap();
        depth_[channel].snap();
    }
}

void ADSR::resetState() {
    for (auto& envelope : envelope_)
        envelope = Envelope{};
}

double ADSR::advance(Envelope& envelope, const Segments& segments, float sustain) {
    const float trigger = segments.triggerLevel;
    double level = envelope.level;
    // A trigger below the release threshold ends any running segment, whatever it is.
    if (trigger < segments.triggerOff && envelope.state < kReleaseState) {
        envelope.state = kReleaseState;
        envelope.counter = 0;
    }
    switch (envelope.state) {
        case kDelayState:
            if (++envelope.counter >= segments.delaySamples) {
                envelope.state = kAttackState;
                envelope.counter = 0;
            }
            level -= level * segments.releaseCoefficient;
            break;
        case kAttackState:
        case kHoldState: {
            // The hold segment continues the attack curve toward full level.
            bool attacking = envelope.state == kAttackState;
            if (++envelope.counter >= (attacking ? segments.attackSamples : segments.holdSamples)) {
                envelope.state = attacking ? kHoldState : kDecayState;
                envelope.counter = 0;
            }
            level += (1.0 - level) * segments.attackCoefficient;
            break;
        }
        case kDecayState:
            if (++envelope.counter >= segments.decaySamples) {
                envelope.state = kSustainState;
                envelope.counter = 0;
            }
            level += (sustain - level) * segments.decayCoefficient;
            break;
        case kSustainState:
            level += (sustain - level) * segments.decayCoefficient;
            break;
        case kReleaseState:
            if (trigger > segments.triggerOn) {
                envelope.state = kDelayState;  // retrigger from the level reached
                envelope.counter = 0;
            } else if (++envelope.counter >= segments.releaseSamples) {
                envelope.state = kIdleState;
                envelope.counter = 0;
            }
            level -= level * segments.releaseCoefficient;
            break;
        default:  // idle
            if (trigger > segments.triggerOn) {
                envelope.state = kDelayState;
                envelope.counter = 0;
            }
            level -= level * segments.releaseCoefficient;
            break;
    }
    envelope.level = flushDenormal(level);
    return envelope.level;
}

void ADSR::generateSample(float& left, float& right) {
    float sustainLeft = sustain_[0].advance();
    float sustainRight = sustain_[1].advance();
    float depthLeft = depth_[0].advance();
    float depthRight = depth_[1].advance();
    left = depthLeft * static_cast<float>(advance(envelope_[0], segments_[0], sustainLeft));
    right = depthRight * static_cast<float>(advance(envelope_[1], segments_[1], sustainRight));
}

}  // namespace kirra
