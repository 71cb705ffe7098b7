#include "modulators/STEP.h"

#include <cmath>
#include <iterator>

#include "modulators/ModulatorMath.h"
#include "modules/NoteValues.h"

namespace kirra {

namespace {

constexpr int kDefaultGrid = 7;  // "1/16"

const char* const kModeNames[STEP::kModeCount] = {"restart", "continue", "songpos", "onepass"};
const char* const kRunStateNames[STEP::kRunStateCount] = {"stopped", "running"};

// The step values are drawn on the plot and typed in percent; modulation moves none of them.
void stepDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.2f", 100.0f * value);
}

constexpr PositionDescriptor stepRow(const char* name) {
    return {name, "", "", 0.0f, stepDisplay, nullptr, percentTyped, 0, false};
}

void stepsDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%d", valueToIndex(value, STEP::kMaxSteps) + 1);
}

float stepsFromText(const Module& /*module*/, const char* text, float currentValue) {
    float steps;
    if (!numberFromText(text, 1.0f, STEP::kMaxSteps, steps)) return currentValue;
    return indexToValue(static_cast<int>(steps) - 1, STEP::kMaxSteps);
}

// Following the song, the sequencer's place is not the user's to start or stop.
void stateDisplay(const Module& module, float value, ModuleText& text) {
    const bool following =
        valueToIndex(module.getBaseValue(STEP::kMode), STEP::kModeCount) == STEP::kSongPosition;
    setText(text, following ? kModeNames[STEP::kSongPosition]
                            : kRunStateNames[valueToIndex(value, STEP::kRunStateCount)]);
}

const PositionDescriptor kParameters[] = {
    stepRow("L1"),
    stepRow("L2"),
    stepRow("L3"),
    stepRow("L4"),
    stepRow("L5"),
    stepRow("L6"),
    stepRow("L7"),
    stepRow("L8"),
    stepRow("L9"),
    stepRow("L10"),
    stepRow("L11"),
    stepRow("L12"),
    stepRow("L13"),
    stepRow("L14"),
    stepRow("L15"),
    stepRow("L16"),
    stepRow("R1"),
    stepRow("R2"),
    stepRow("R3"),
    stepRow("R4"),
    stepRow("R5"),
    stepRow("R6"),
    stepRow("R7"),
    stepRow("R8"),
    stepRow("R9"),
    stepRow("R10"),
    stepRow("R11"),
    stepRow("R12"),
    stepRow("R13"),
    stepRow("R14"),
    stepRow("R15"),
    stepRow("R16"),
    {"smooth", "smooth", "", 0.0f, percentDisplay, percentEditorText, percentTyped},
    // the row's length, grid and mode are read from their base values only
    {"steps", "steps", "", (STEP::kMaxSteps - 0.5f) / STEP::kMaxSteps, stepsDisplay, nullptr,
     stepsFromText, STEP::kMaxSteps, false},
    {"grid", "grid", "", (kDefaultGrid + 0.5f) / kNoteValueCount, noteValueDisplay,
     noteValueEditorText, noteValueTyped<kDefaultGrid>, kNoteValueCount, false},
    {"mode", "mode", "", 0.5f / STEP::kModeCount, namedChoice<kModeNames>, nullptr,
     namedChoiceFromText<kModeNames>, choiceCount<kModeNames>, false},
    {"depth", "depth", "", 1.0f, percentDisplay, percentEditorText, percentTyped},
    // a modulation slot may start and stop the sequence
    {"state", "state", "", 0.75f /* running */, stateDisplay, nullptr,
     namedChoiceFromText<kRunStateNames>, choiceCount<kRunStateNames>},
};
static_assert(std::size(kParameters) == STEP::kPositionCount, "a row for every position");

}  // namespace

STEP::STEP(int slot, ModuleOwner* owner)
    : Modulator(kSTEP, slot, owner, kParameters, std::size(kParameters)) {}

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
