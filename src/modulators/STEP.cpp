#include "modulators/STEP.h"

#include <algorithm>
#include <cmath>

#include "modulators/ModulatorMath.h"
#include "modules/NoteValues.h"

namespace kirra {

namespace {

constexpr int kDefaultGrid = 7;  // "1/16"

const ParameterInfo kParameters[] = {
    {"L1", "", "", 0.0f},
    {"L2", "", "", 0.0f},
    {"L3", "", "", 0.0f},
    {"L4", "", "", 0.0f},
    {"L5", "", "", 0.0f},
    {"L6", "", "", 0.0f},
    {"L7", "", "", 0.0f},
    {"L8", "", "", 0.0f},
    {"L9", "", "", 0.0f},
    {"L10", "", "", 0.0f},
    {"L11", "", "", 0.0f},
    {"L12", "", "", 0.0f},
    {"L13", "", "", 0.0f},
    {"L14", "", "", 0.0f},
    {"L15", "", "", 0.0f},
    {"L16", "", "", 0.0f},
    {"R1", "", "", 0.0f},
    {"R2", "", "", 0.0f},
    {"R3", "", "", 0.0f},
    {"R4", "", "", 0.0f},
    {"R5", "", "", 0.0f},
    {"R6", "", "", 0.0f},
    {"R7", "", "", 0.0f},
    {"R8", "", "", 0.0f},
    {"R9", "", "", 0.0f},
    {"R10", "", "", 0.0f},
    {"R11", "", "", 0.0f},
    {"R12", "", "", 0.0f},
    {"R13", "", "", 0.0f},
    {"R14", "", "", 0.0f},
    {"R15", "", "", 0.0f},
    {"R16", "", "", 0.0f},
    {"smooth", "smooth", "", 0.0f},
    {"steps", "steps", "", (STEP::kMaxSteps - 0.5f) / STEP::kMaxSteps},
    {"grid", "grid", "", (kDefaultGrid + 0.5f) / kNoteValueCount},
    {"mode", "mode", "", 0.5f / STEP::kModeCount},
    {"depth", "depth", "", 1.0f},
    {"state", "state", "", 0.75f},  // running
};

const char* const kModeNames[STEP::kModeCount] = {"restart", "continue", "songpos", "onepass"};
const char* const kRunStateNames[STEP::kRunStateCount] = {"stopped", "running"};

static_assert(sizeof(kParameters) / sizeof(kParameters[0]) == STEP::kPositionCount,
              "a row for every position");

}  // namespace

STEP::STEP(int slot, ModuleOwner* owner) : Modulator(slot, owner, kParameters, kPositionCount) {}

bool STEP::isParameterUsed(int position) const {
    // The step values are drawn on the plot; modulation moves only these.
    return position == kSmooth || position == kDepth || position == kState;
}

void STEP::formatDisplay(int position, float value, ModuleText& text) const {
    if (position < kSmooth) {
        formatText(text, "%.2f", 100.0f * value);
    } else if (position == kSteps) {
        formatText(text, "%d", valueToIndex(value, kMaxSteps) + 1);
    } else if (position == kGrid) {
        formatText(text, "%.2f", noteValueLength(valueToIndex(value, kNoteValueCount)));
    } else if (position == kMode) {
        setText(text, kModeNames[valueToIndex(value, kModeCount)]);
    } else if (position == kState) {
        // Following the song, the sequencer's place is not the user's to start or stop.
        bool following = valueToIndex(base_[kMode], kModeCount) == kSongPosition;
        setText(text, following ? kModeNames[kSongPosition]
                                : kRunStateNames[valueToIndex(value, kRunStateCount)]);
    } else {  // smooth, depth
        percentText(text, value, false);
    }
}

void STEP::getEditorText(int position, float value, ModuleText& text) const {
    if (position == kGrid) {
        setText(text, noteValueName(valueToIndex(value, kNoteValueCount)));
    } else if (position == kSmooth || position == kDepth) {
        percentText(text, value, true);
    } else {
        Modulator::getEditorText(position, value, text);
    }
}

float STEP::textToValue(int position, const char* text, float currentValue) const {
    float number;
    if (position < kSmooth) {
        if (!parseNumber(text, number)) return currentValue;
        return sanitizeUnit(number / 100.0f);
    }
    switch (position) {
        case kSteps: {
            if (!parseNumber(text, number)) return currentValue;
            number = std::clamp(number, 1.0f, static_cast<float>(kMaxSteps));
            return indexToValue(static_cast<int>(number) - 1, kMaxSteps);
        }
        case kGrid: {
            int grid = noteValueFromText(text);
            return indexToValue(grid >= 0 ? grid : kDefaultGrid, kNoteValueCount);
        }
        case kMode:
            return choiceFromText(text, kModeNames, kModeCount, currentValue);
        case kState:
            return choiceFromText(text, kRunStateNames, kRunStateCount, currentValue);
        default:  // smooth, depth
            return percentFromText(text, currentValue);
    }
}

void STEP::setSongPosition(float quarterNotes) {
    if (valueToIndex(base_[kMode], kModeCount) != kSongPosition) return;
    const float wholeNotes = noteValueLength(valueToIndex(base_[kGrid], kNoteValueCount));
    double steps = static_cast<double>(quarterNotes) / (4.0 * wholeNotes);
    if (!std::isfinite(steps)) return;
    double whole = std::floor(steps);
    phase_ = steps - whole;
    if (phase_ >= 1.0) phase_ = 0.0;
    // The remainder toward minus infinity, so a pre-roll before the song's start still lands
    // on a step of the row.
    const double count = valueToIndex(base_[kSteps], kMaxSteps) + 1;
    double index = std::fmod(whole, count);
    if (index < 0.0) index += count;
    step_ = static_cast<int>(index);
    if (step_ >= kMaxSteps) step_ = 0;
}

void STEP::updateParameters() {
    depth_[0].setTarget(left_[kDepth]);
    depth_[1].setTarget(right_[kDepth]);
    lastStep_ = valueToIndex(base_[kSteps], kMaxSteps);
    grid_ = valueToIndex(base_[kGrid], kNoteValueCount);
    mode_ = valueToIndex(base_[kMode], kModeCount);
    // The left copy, so that a modulation slot can start and stop the sequence.
    running_ = valueToIndex(left_[kState], kRunStateCount) == kRunning;
    if (!running_ && (mode_ == kRestart || mode_ == kOnePass)) {
        phase_ = 0.0;
        step_ = 0;
    }
    // Corners from 20 kHz down to 1 Hz, whatever the tempo.
    smoothing_[0].setTarget(cornerCoefficient(smoothingCorner(1.0f, left_[kSmooth]), sampleRate_));
    smoothing_[1].setTarget(cornerCoefficient(smoothingCorner(1.0f, right_[kSmooth]), sampleRate_));
    phaseIncrement_ = usableTempo(tempoBpm_) /
                      (240.0 * noteValueLength(grid_) * static_cast<double>(sampleRate_));
    plotStep_.store(step_, std::memory_order_relaxed);
}

void STEP::snapToTargets() {
    for (int channel = 0; channel < 2; ++channel) {
        smoothing_[channel].snap();
        depth_[channel].snap();
    }
}

void STEP::resetState() {
    step_ = 0;
    phase_ = 0.0;
    smoothed_[0] = smoothed_[1] = 0.0;
}

void STEP::generateSample(float& left, float& right) {
    float coefficientLeft = smoothing_[0].advance();
    float coefficientRight = smoothing_[1].advance();
    float depthLeft = depth_[0].advance();
    float depthRight = depth_[1].advance();
    double goalLeft = smoothed_[0];
    double goalRight = smoothed_[1];
    if (running_) {
        phase_ += phaseIncrement_;
        if (phase_ >= 1.0) {
            ++step_;
            if (step_ > lastStep_) step_ = mode_ == kOnePass ? lastStep_ : 0;
            phase_ -= 1.0;
        }
        goalLeft = left_[kStepLeft1 + step_];
        goalRight = right_[kStepRight1 + step_];
    } else if (mode_ == kOnePass) {
        goalLeft = left_[kStepLeft1 + lastStep_];
        goalRight = right_[kStepRight1 + lastStep_];
    }
    smoothed_[0] = flushDenormal(smoothed_[0] + (goalLeft - smoothed_[0]) * coefficientLeft);
    smoothed_[1] = flushDenormal(smoothed_[1] + (goalRight - smoothed_[1]) * coefficientRight);
    left = static_cast<float>(smoothed_[0]) * depthLeft;
    right = static_cast<float>(smoothed_[1]) * depthRight;
}

}  // namespace kirra
