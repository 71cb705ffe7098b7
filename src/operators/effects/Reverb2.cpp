#include "operators/effects/Reverb2.h"

#include <algorithm>
#include <cmath>

#include "modules/NoteValues.h"
#include "operators/effects/EffectText.h"
#include "operators/effects/ReverbScale.h"

namespace kirra {

namespace {

const char* const kAlgorithmNames[Reverb2::kAlgorithmCount] = {"cathedral", "room", "plate",
                                                               "hall"};
const char* const kPredelayModes[] = {"time", "tempo"};
// The networks' taps add up to about four times the input level.
constexpr float kNetworkOutputScale = 0.25f;
constexpr float kPlateOutputScale = 0.6f;
constexpr float kMaxPredelayMs = 1000.0f;

int predelayMode(const float* positionValues) {
    return valueToIndex(positionValues[Reverb2::kPredelayMode], 2);
}

bool isPredelayTimed(const Module& module) {
    return valueToIndex(module.getBaseValue(Reverb2::kPredelayMode), 2) == Reverb2::kPredelayTime;
}

// Time, damping and amount are shares in percent.
constexpr PositionDescriptor shareRow(const char* name, float defaultValue) {
    return {
        name,        name, "", defaultValue, sharePercentDisplay<100>, sharePercentEditorText<100>,
        percentTyped};
}

// The steps past the algorithms pass the input untouched and have no name.
void algorithmDisplay(const Module& /*module*/, float value, ModuleText& text) {
    int type = valueToIndex(value, Reverb2::kTypeStates);
    setText(text, type < Reverb2::kAlgorithmCount ? kAlgorithmNames[type] : "");
}

// The predelay reads in milliseconds or as a note value, by its mode.
void predelayDisplay(const Module& module, float value, ModuleText& text) {
    if (isPredelayTimed(module)) {
        formatText(text, "%.0f", kMaxPredelayMs * value);
    } else {
        noteValueDisplay(module, value, text);
    }
}

void predelayEditorText(const Module& module, float value, ModuleText& text) {
    if (isPredelayTimed(module)) {
        formatText(text, "%.0fms", kMaxPredelayMs * value);
    } else {
        noteValueEditorText(module, value, text);
    }
}

float predelayFromText(const Module& module, const char* text, float currentValue) {
    if (!isPredelayTimed(module)) {
        int note = noteValueFromText(text);
        return note >= 0 ? indexToValue(note, kNoteValueCount) : currentValue;
    }
    float milliseconds;
    if (!numberFromText(text, 0.0f, kMaxPredelayMs, milliseconds)) return currentValue;
    return milliseconds / kMaxPredelayMs;
}

// Only the decay and the amount are modulation destinations; the algorithm and the predelay
// follow their base values.
const PositionDescriptor kParameters[] = {
    shareRow("time", 0.5f),
    shareRow("damping", 0.5f),
    shareRow("amount", 1.0f),
    {"type", "algorithm", "", 0.21875f, algorithmDisplay, nullptr,
     typedChoice<kAlgorithmNames, Reverb2::kTypeStates>, Reverb2::kTypeStates, false},  // "hall"
    {"premode", "premode", "", 0.25f, namedChoice<kPredelayModes>, nullptr,
     typedChoice<kPredelayModes>, 2, false},  // time
    {"pretime", "pretime", "", 0.0f, predelayDisplay, predelayEditorText, predelayFromText, 0,
     false},
};
static_assert(std::size(kParameters) == Reverb2::kPositionCount);

}  // namespace

Reverb2::Reverb2(int slot, ModuleOwner* owner)
    : Operator(kReverb2, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
}

int Reverb2::predelaySamples(const float* positionValues, float sampleRate, float tempoBpm) {
    float seconds = positionValues[kPredelay];
    if (predelayMode(positionValues) == kPredelayTempo) {
        int note = valueToIndex(positionValues[kPredelay], kNoteValueCount);
        seconds = minOf(1.0f, noteValueSeconds(note, tempoBpm));
    }
    return static_cast<int>(sampleRate * std::clamp(seconds, 0.0f, 1.0f));
}

void Reverb2::setTempo(float bpm) {
    if (std::isfinite(bpm) && bpm > 0.0f) tempoBpm_ = bpm;
}

void Reverb2::setSampleRate(float sampleRate) {
    const int predelayLength = static_cast<int>(sampleRate) + 1;
    std::vector<float>(predelayLength, 0.0f).swap(predelayLeft_);
    std::vector<float>(predelayLength, 0.0f).swap(predelayRight_);
    predelayWrite_ = 0;
    const float scale = reverbLengthScale(sampleRate);
    cathedral_.prepare(sampleRate, scale);
    hall_.prepare(sampleRate, scale);
    room_.prepare(sampleRate, scale);
    plate_.prepare(sampleRate);
    // The next update takes the type as new and starts it from silence.
    algorithm_ = -1;
    Operator::setSampleRate(sampleRate);
}

void Reverb2::clearAlgorithm(int algorithm) {
    std::fill(predelayLeft_.begin(), predelayLeft_.end(), 0.0f);
    std::fill(predelayRight_.begin(), predelayRight_.end(), 0.0f);
    switch (algorithm) {
        case kCathedral:
            cathedral_.clear();
            break;
        case kHall:
            hall_.clear();
            break;
        case kRoom:
            room_.clear();
            break;
        case kPlate:
            plate_.clear();
            break;
        default:
            break;
    }
}

void Reverb2::resetState() {
    for (int algorithm = 0; algorithm < kAlgorithmCount; ++algorithm)
        clearAlgorithm(algorithm);
}

void Reverb2::updateParameters() {
    const int algorithm = valueToIndex(base_[kType], kTypeStates);
    if (algorithm != algorithm_) {
        // A new algorithm starts from silence: the old tail stops at once.
        clearAlgorithm(algorithm);
        algorithm_ = algorithm;
        decayTime_ = decayDamping_ = -1.0f;
    }
    amountLeft_.setTarget(left_[kAmount]);
    amountRight_.setTarget(right_[kAmount]);
    float baseValues[kMaxPositions];
    copyValues(base_, baseValues);
    predelay_ = std::min(predelaySamples(baseValues, sampleRate_, tempoBpm_),
                         static_cast<int>(predelayLeft_.size()) - 1);

    // Decay settings follow the left copies; the powers are worth skipping when nothing moved.
    const float time = left_[kTime];
    const float damping = left_[kDamping];
    if (time == decayTime_ && damping == decayDamping_) return;
    decayTime_ = time;
    decayDamping_ = damping;
    switch (algorithm_) {
        case kCathedral:
            cathedral_.setDecay(time, damping);
            break;
        case kHall:
            hall_.setDecay(time, damping);
            break;
        case kRoom:
            room_.setDecay(time, damping);
            break;
        case kPlate:
            plate_.setDecay(time, damping);
            break;
        default:
            break;
    }
}

void Reverb2::processSample(float& left, float& right) {
    const float amountLeft = amountLeft_.advance();
    const float amountRight = amountRight_.advance();
    const int length = static_cast<int>(predelayLeft_.size());
    predelayLeft_[predelayWrite_] = left;
    predelayRight_[predelayWrite_] = right;
    int read = predelayWrite_ - predelay_;
    if (read < 0) read += length;
    if (++predelayWrite_ == length) predelayWrite_ = 0;
    if (algorithm_ >= kAlgorithmCount) return;  // no algorithm: the input passes untouched

    const float dryLeft = predelayLeft_[read];
    const float dryRight = predelayRight_[read];
    float wetLeft = 0.0f;
    float wetRight = 0.0f;
    switch (algorithm_) {
        case kCathedral:
        case kHall: {
            ReverbNetwork& network = algorithm_ == kCathedral ? cathedral_ : hall_;
            network.process((dryLeft + dryRight) * 0.5f, wetLeft, wetRight);
            wetLeft *= kNetworkOutputScale;
            wetRight *= kNetworkOutputScale;
            break;
        }
        case kRoom:
            room_.process(dryLeft + dryRight, wetLeft, wetRight);
            break;
        default:
            plate_.process(dryLeft, dryRight, wetLeft, wetRight);
            // The plate crossfades linearly, the others with squared shares.
            left = dryLeft + (kPlateOutputScale * wetLeft - dryLeft) * amountLeft;
            right = dryRight + (kPlateOutputScale * wetRight - dryRight) * amountRight;
            return;
    }
    const float dryShareLeft = 1.0f - amountLeft;
    const float dryShareRight = 1.0f - amountRight;
    left = wetLeft * amountLeft * amountLeft + dryLeft * dryShareLeft * dryShareLeft;
    right = wetRight * amountRight * amountRight + dryRight * dryShareRight * dryShareRight;
}

}  // namespace kirra
