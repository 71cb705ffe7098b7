#include "engine/ParameterTable.h"

#include <cmath>
#include <cstdio>

#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace kirra {

using namespace param;

namespace {

const char* const kLimiterModes[] = {"disabled", "slow", "moderate", "fast"};
const char* const kMainPages[] = {"OP ROUTING", "LIBRARY", "PREFERENCES", "MOD ROUTING"};

bool inRange(int index, int first, int count) {
    return index >= first && index < first + count;
}

}  // namespace

float levelGain(float value) {
    return 4.0f * value * value;
}

void hostFloatText(float value, ModuleText& text) {
    constexpr int kWidth = 8;
    double magnitude = std::fabs(static_cast<double>(value));
    int integerDigits = 1;
    for (double limit = 10.0; magnitude >= limit && integerDigits < kWidth; limit *= 10.0) {
        ++integerDigits;
    }
    int sign = value < 0.0f ? 1 : 0;
    int decimals = kWidth - integerDigits - sign - 1;
    if (decimals < 0) decimals = 0;
    formatText(text, "%.*f", decimals, static_cast<double>(value));
}

void engineParameterName(int index, ModuleText& text) {
    setText(text, "");
    if (index == kPower) setText(text, "Power");
    if (index == kInput) setText(text, "Input");
    if (index == kMix) setText(text, "Mix");
    if (index == kOutput) setText(text, "Output");
    if (inRange(index, kKnob1, kKnobCount)) formatText(text, "KNOB%d", index - kKnob1 + 1);
    if (inRange(index, kOperatorType1, kSlotCount)) {
        formatText(text, "OP%d type", index - kOperatorType1 + 1);
    }
    if (inRange(index, kModulatorType1, kSlotCount)) {
        formatText(text, "MOD%d type", index - kModulatorType1 + 1);
    }
    if (inRange(index, kSlotSensitivity1, kModulationSlots)) {
        formatText(text, "SLOT%d SENS", index - kSlotSensitivity1 + 1);
    }
    if (index == kDryDelay) setText(text, "DryDly");
    if (inRange(index, kInToOp1, 4)) formatText(text, "IN->OP%d", index - kInToOp1 + 1);
    if (inRange(index, kOpToOp11, 16)) {
        int link = index - kOpToOp11;
        formatText(text, "OP%d->OP%d", link / 4 + 1, link % 4 + 1);
    }
    if (inRange(index, kOpToOut1, 4)) formatText(text, "OP%d->OUT", index - kOpToOut1 + 1);
    if (index == kTempo) setText(text, "Tempo");
    if (index == kPpqOffset) setText(text, "PPQOffset");
    if (inRange(index, kOperatorBypass1, kSlotCount)) {
        formatText(text, "OP%d bypass", index - kOperatorBypass1 + 1);
    }
    if (inRange(index, kModulatorBypass1, kSlotCount)) {
        formatText(text, "MOD%d bypass", index - kModulatorBypass1 + 1);
    }
    if (inRange(index, kSlotSource1, kModulationSlots)) {
        formatText(text, "SLOT%d SRC", index - kSlotSource1 + 1);
    }
    if (inRange(index, kSlotDestination1, kModulationSlots)) {
        formatText(text, "SLOT%d DST", index - kSlotDestination1 + 1);
    }
    if (index == kOutLimiter) setText(text, "OutLimiter");
    if (index == kTempoSync) setText(text, "TempoSync");
    if (index == kOpLrMs) setText(text, "OP_LR_MS");
    if (index == kOpInv) setText(text, "OP_Inv");
    if (index == kSlotStatus) setText(text, "SLOTStatus");
    if (index == kCurrentOperator) setText(text, "Curr OP");
    if (index == kCurrentMain) setText(text, "Curr MAIN");
    if (index == kCurrentModulator) setText(text, "Curr MOD");
    if (index == kMeterHold) setText(text, "MeterHold");
    if (index == kMeterFalloff) setText(text, "MeterFalloff");
}

void engineParameterLabel(int index, ModuleText& text) {
    const char* label = "";
    if (index == kInput || index == kOutput || inRange(index, kRoutingFirst, kRoutingCount)) {
        label = "dB";
    }
    if (index == kMix) label = "%";
    if (index == kDryDelay) label = "smpl/ms";
    if (index == kTempo) label = "bpm";
    if (index == kMeterHold) label = "ms";
    if (index == kMeterFalloff) label = "dB/sec";
    setText(text, label);
}

void engineParameterDisplay(int index, float value, const DisplayContext& context,
                            ModuleText& text) {
    setText(text, "");
    if (index == kPower) setText(text, valueToIndex(value, 2) == 1 ? "on" : "off");
    if (index == kInput || index == kOutput) decibelText(text, levelGain(value), "%.0f");
    if (index == kMix) hostFloatText(value * 100.0f, text);
    if (inRange(index, kKnob1, kKnobCount)) formatText(text, "%.1f", value * 100.0f);
    if (inRange(index, kSlotSensitivity1, kModulationSlots)) {
        formatText(text, "%.1f", 200.0f * value - 100.0f);
    }
    if (index == kDryDelay) {
        formatText(text, "%d (%.1f ms)", context.dryDelaySamples,
                   context.dryDelaySamples * 1000.0 / context.sampleRate);
    }
    if (inRange(index, kRoutingFirst, kRoutingCount)) {
        decibelText(text, value * value * value, "%.0f");
    }
    if (index == kTempo) {
        if (context.tempoSyncState != 0) {
            setText(text, "auto");
        } else {
            formatText(text, "%.2f", 30.0 + 270.0 * value);
        }
    }
    if (index == kPpqOffset) formatText(text, "%d", static_cast<int>(16.0f * sanitizeUnit(value)));
    if (inRange(index, kOperatorBypass1, 2 * kSlotCount)) {
        setText(text, valueToIndex(value, 2) == 1 ? "bypass" : "process");
    }
    if (index == kOutLimiter) {
        int mode = valueToIndex(value, kLimiterStates);
        setText(text, mode < 4 ? kLimiterModes[mode] : "n/a");
    }
    if (index == kTempoSync) {
        int state = valueToIndex(value, kTempoSyncStates);
        setText(text, state == 0 ? "off" : (state == 1 ? "on" : "n/a"));
    }
    if (index == kOpLrMs) formatText(text, "%d", valueToIndex(value, kOpLrMsStates));
    if (index == kOpInv) formatText(text, "%d", valueToIndex(value, kOpInvStates));
    if (index == kSlotStatus) formatText(text, "%d", valueToIndex(value, kSlotStatusStates));
    if (index == kCurrentOperator) formatText(text, "OP%d", valueToIndex(value, kPageStates) + 1);
    if (index == kCurrentMain) setText(text, kMainPages[valueToIndex(value, kPageStates)]);
    if (index == kCurrentModulator) {
        formatText(text, "MOD%d", valueToIndex(value, kPageStates) + 1);
    }
    if (index == kMeterHold) {
        if (value >= 1.0f) {
            setText(text, "oo");
        } else {
            formatText(text, "%d", 1000 + static_cast<int>(4000.0f * sanitizeUnit(value)));
        }
    }
    if (index == kMeterFalloff) {
        formatText(text, "%d", 6 + static_cast<int>(54.0f * sanitizeUnit(value)));
    }
}

}  // namespace kirra
