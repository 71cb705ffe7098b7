#include "operators/effects/Reverb2.h"

#include <algorithm>
#include <cmath>

#include "modules/NoteValues.h"
#include "operators/effects/ReverbScale.h"

namespace kirra {

namespace {

const ParameterInfo kParameters[] = {
    {"time", "time", "", 0.5f},        {"damping", "damping", "", 0.5f},
    {"amount", "amount", "", 1.0f},    {"type", "algorithm", "", 0.21875f},  // "hall"
    {"premode", "premode", "", 0.25f},                                       // time
    {"pretime", "pretime", "", 0.0f},
};

const char* const kAlgorithmNames[Reverb2::kAlgorithmCount] = {"cathedral", "room", "plate",
                                                               "hall"};
const char* const kPredelayModes[] = {"time", "tempo"};
// The networks' taps add up to about four times the input level.
constexpr float kNetworkOutputScale = 0.25f;
constexpr float kPlateOutputScale = 0.6f;

int predelayMode(const float* positionValues) {
    return valueToIndex(positionValues[Reverb2::kPredelayMode], 2);
}

}  // namespace

Reverb2::Reverb2(int slot, ModuleOwner* owner)
    : Operator(slot, owner, kParameters, kPositionCount) {
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

void Reverb2::formatDisplay(int position, float value, ModuleText& text) const {
    switch (position) {
        case kTime:
        case kDamping:
        case kAmount:
            formatText(text, "%.0f", 100.0f * value);
            break;
        case kType: {
            int type = valueToIndex(value, kTypeStates);
            setText(text, type < kAlgorithmCount ? kAlgorithmNames[type] : "");
            break;
        }
        case kPredelayMode:
            setText(text, kPredelayModes[valueToIndex(value, 2)]);
            break;
        case kPredelay:
            if (predelayMode(base_) == kPredelayTime) {
                formatText(text, "%.0f", 1000.0f * value);
            } else {
                formatText(text, "%.2f", noteValueLength(valueToIndex(value, kNoteValueCount)));
            }
            break;
        default:
            setText(text, "---");
            break;
    }
}

void Reverb2::getEditorText(int position, float value, ModuleText& text) const {
    switch (position) {
        case kTime:
        case kDamping:
        case kAmount:
            formatText(text, "%.1f %%", 100.0f * value);
            break;
        case kPredelay:
            if (predelayMode(base_) == kPredelayTime) {
                formatText(text, "%.0fms", 1000.0f * value);
            } else {
                setText(text, noteValueName(valueToIndex(value, kNoteValueCount)));
            }
            break;
        default:
            formatDisplay(position, value, text);
            break;
    }
}

float Reverb2::textToValue(int position, const char* text, float currentValue) const {
    if (text == nullptr) return currentValue;
    while (*text == ' ')
        ++text;
    float number = 0.0f;
    switch (position) {
        case kTime:
        case kDamping:
        case kAmount:
            if (!parseNumber(text, number)) return currentValue;
            return std::clamp(number, 0.0f, 100.0f) / 100.0f;
        case kType:
            for (int type = 0; type < kAlgorithmCount; ++type) {
                if (startsWithNoCase(text, kAlgorithmNames[type]))
                    return indexToValue(type, kTypeStates);
            }
            return currentValue;
        case kPredelayMode:
            for (int mode = 0; mode < 2; ++mode) {
                if (startsWithNoCase(text, kPredelayModes[mode])) return indexToValue(mode, 2);
            }
            return currentValue;
        case kPredelay: {
            if (predelayMode(base_) == kPredelayTempo) {
                int note = noteValueFromText(text);
                return note >= 0 ? indexToValue(note, kNoteValueCount) : currentValue;
            }
            if (!parseNumber(text, number)) return currentValue;
            return std::clamp(number, 0.0f, 1000.0f) / 1000.0f;
        }
        default:
            return currentValue;
    }
}

bool Reverb2::isParameterUsed(int position) const {
    return position == kTime || position == kDamping || position == kAmount;
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
    predelay_ = std::min(predelaySamples(base_, sampleRate_, tempoBpm_),
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
