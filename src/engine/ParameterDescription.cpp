#include "engine/ParameterDescription.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

#include "engine/DryDelay.h"
#include "engine/ModulationSlots.h"
#include "engine/RoutingMatrix.h"
#include "modules/Module.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace kirra {

using namespace param;

namespace units {

float tempoBpm(float value) {
    return kLowestTempoBpm + (kHighestTempoBpm - kLowestTempoBpm) * value;
}

float tempoValue(float bpm) {
    return (bpm - kLowestTempoBpm) / (kHighestTempoBpm - kLowestTempoBpm);
}

float levelGain(float value) {
    return 4.0f * value * value;
}

int songOffsetSixteenths(float value) {
    return static_cast<int>(16.0f * value);
}

float meterHoldMs(float value) {
    return value >= 1.0f ? -1.0f : 1000.0f + std::trunc(4000.0f * value);
}

float meterFalloffDbPerSecond(float value) {
    return 6.0f + 54.0f * value;
}

}  // namespace units

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

namespace {

// Sixteenths of the song-position offset; the hold time above its floor, in milliseconds; the
// fall-back speed above its floor, in dB per second.
constexpr float kSixteenths = 16.0f;
constexpr float kHoldLowestMs = 1000.0f;
constexpr float kHoldSpanMs = 4000.0f;
constexpr float kFalloffLowest = 6.0f;
constexpr float kFalloffSpan = 54.0f;
// 1.0 holds the meters for ever; a typed number of milliseconds asks for a finite hold, so the
// longest one it can have is just below.
constexpr float kLongestFiniteHold = 3999.5f / 4000.0f;
// Routing gains typed or shown below this read as silence.
constexpr int kLowestGainDb = -99;

const char* const kLimiterModes[] = {"disabled", "slow", "moderate", "fast"};
const char* const kTempoLockTexts[] = {"disabled", "enabled"};
const char* const kMainPages[] = {"OP ROUTING", "LIBRARY", "PREFERENCES", "MOD ROUTING"};
const char* const kPreviewModes[] = {"off", "left", "right"};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

const char* skipBlanks(const char* text) {
    while (isBlank(*text))
        ++text;
    return text;
}

bool meansSilence(const char* text) {
    text = skipBlanks(text);
    return startsWithNoCase(text, "-oo") || startsWithNoCase(text, "-inf");
}

// The leading number of a typed text in double precision, so that typed decibels and percent
// land on the nearest value (the factory programs are written this way).
bool parseDouble(const char* text, double& number) {
    char* end = nullptr;
    number = std::strtod(text, &end);
    return end != text && std::isfinite(number);
}

// amount / span, raised by the last float step where needed so that the engine's truncating
// reading (trunc(span * value)) gives the whole part of the amount back: 251 ms would otherwise
// read back as 250.
float truncatingUnitValue(float amount, float span) {
    float value = amount / span;
    int whole = static_cast<int>(amount);
    while (value < 1.0f && static_cast<int>(span * value) < whole)
        value = std::nextafter(value, 2.0f);
    return sanitizeUnit(value);
}

// The whole part of an amount shown as an integer, toward zero. A typed whole number comes back
// as a float a rounding step short of it (-46 as -45.99999), which must still show as typed.
int shownWhole(float amount) {
    constexpr float kRoundingSlack = 0.001f;
    return static_cast<int>(amount + (amount < 0.0f ? -kRoundingSlack : kRoundingSlack));
}

// ---- texts of the rows ----

void onOffText(const ParameterContext&, int, float value, ModuleText& text) {
    setText(text, valueToIndex(value, 2) == 1 ? "on" : "off");
}

void levelDisplay(const ParameterContext&, int, float value, ModuleText& text) {
    decibelText(text, units::levelGain(value), "%.0f");
}

void levelEditorText(const ParameterContext&, int, float value, ModuleText& text) {
    decibelText(text, units::levelGain(value), "%.1f");
}

float levelFromText(const ParameterContext&, int, const char* text, float currentValue) {
    if (meansSilence(text)) return 0.0f;
    double db = 0.0;
    if (!parseDouble(text, db)) return currentValue;
    // gain = 4 v^2, so v = sqrt(gain / 4); +12 dB is the top of the range.
    double gain = std::pow(10.0, std::clamp(db, -200.0, 20.0) / 20.0);
    return sanitizeUnit(static_cast<float>(std::sqrt(gain / 4.0)));
}

void mixDisplay(const ParameterContext&, int, float value, ModuleText& text) {
    hostFloatText(value * 100.0f, text);
}

void percentText(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "%.1f", value * 100.0f);
}

float percentFromText(const ParameterContext&, int, const char* text, float currentValue) {
    double percent = 0.0;
    if (!parseDouble(text, percent)) return currentValue;
    return sanitizeUnit(static_cast<float>(percent / 100.0));
}

void moduleTypeName(const Module* module, ModuleText& text) {
    if (module != nullptr) {
        module->getName(text);
    } else {
        setText(text, "");
    }
}

void operatorTypeDisplay(const ParameterContext& context, int member, float, ModuleText& text) {
    moduleTypeName(context.modules != nullptr ? context.modules->operators[member] : nullptr, text);
}

void modulatorTypeDisplay(const ParameterContext& context, int member, float, ModuleText& text) {
    moduleTypeName(context.modules != nullptr ? context.modules->modulators[member] : nullptr,
                   text);
}

float catalogueTypeFromText(const char* text, bool operators, float currentValue) {
    const int count =
        operators ? static_cast<int>(kOperatorTypeCount) : static_cast<int>(kModulatorTypeCount);
    for (int type = 0; type < count; ++type) {
        const CatalogueEntry& entry =
            operators ? operatorCatalogue(type) : modulatorCatalogue(type);
        if (choiceFromText(text, &entry.shortName, 1, -1.0f) >= 0.0f) {
            return indexToValue(type, kModuleTypeStates);
        }
    }
    return currentValue;
}

float operatorTypeFromText(const ParameterContext&, int, const char* text, float currentValue) {
    return catalogueTypeFromText(text, true, currentValue);
}

float modulatorTypeFromText(const ParameterContext&, int, const char* text, float currentValue) {
    return catalogueTypeFromText(text, false, currentValue);
}

void sensitivityDisplay(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "%.1f", 200.0f * value - 100.0f);
}

// "+40", "-25" or "0": whole percent of the bipolar amount.
void sensitivityEditorText(const ParameterContext&, int, float value, ModuleText& text) {
    value = sanitizeUnit(value);
    int percent = shownWhole(std::fabs(200.0f * value - 100.0f));
    if (percent == 0) {
        setText(text, "0");
        return;
    }
    formatText(text, "%c%d", value >= 0.5f ? '+' : '-', percent);
}

float sensitivityFromText(const ParameterContext&, int, const char* text, float currentValue) {
    double percent = 0.0;
    if (!parseDouble(text, percent)) return currentValue;
    return static_cast<float>((std::clamp(percent, -100.0, 100.0) + 100.0) / 200.0);
}

int dryDelaySamples(const ParameterContext& context, float value) {
    return DryDelay::delayForState(valueToIndex(value, kDryDelayStates), context.sampleRate);
}

void dryDelayDisplay(const ParameterContext& context, int, float value, ModuleText& text) {
    int samples = dryDelaySamples(context, value);
    formatText(text, "%d (%.1f ms)", samples, samples * 1000.0 / context.sampleRate);
}

void dryDelayEditorText(const ParameterContext& context, int, float value, ModuleText& text) {
    int samples = dryDelaySamples(context, value);
    formatText(text, "DLY %d (%.1fms)", samples, samples * 1000.0f / context.sampleRate);
}

float dryDelayFromText(const ParameterContext& context, int, const char* text, float currentValue) {
    // The field's own text ("DLY 250 (5.2ms)") reads as well as a bare number of samples.
    text = skipBlanks(text);
    if (startsWithNoCase(text, "DLY")) text += 3;
    float samples = 0.0f;
    if (!parseNumber(text, samples)) return currentValue;
    // The state holds 4, 2 or 1 steps per sample by the rate (see DryDelay).
    const float rate = context.sampleRate;
    int stepsPerSample = DryDelay::delayForState(4, rate) == 1   ? 4
                         : DryDelay::delayForState(2, rate) == 1 ? 2
                                                                 : 1;
    float state = std::clamp(std::round(samples) * stepsPerSample, 0.0f,
                             static_cast<float>(DryDelay::kMaxDelay));
    return indexToValue(static_cast<int>(state), kDryDelayStates);
}

void routingName(int member, ModuleText& text) {
    constexpr int kOperators = RoutingMatrix::kOperators;
    if (member < kOperators) {
        formatText(text, "IN->OP%d", member + 1);
    } else if (member < kOperators + kOperators * kOperators) {
        int link = member - kOperators;
        formatText(text, "OP%d->OP%d", link / kOperators + 1, link % kOperators + 1);
    } else {
        formatText(text, "OP%d->OUT", member - kOperators - kOperators * kOperators + 1);
    }
}

// The host is shown the cube of the value; the gain heard is its square.
void routingDisplay(const ParameterContext&, int, float value, ModuleText& text) {
    decibelText(text, value * value * value, "%.0f");
}

void routingEditorText(const ParameterContext&, int, float value, ModuleText& text) {
    if (!(value > 0.0f) || static_cast<int>(101.0f * value) == 0) {
        setText(text, "-oo");
        return;
    }
    // 20 log10 (v^2), whole decibels toward zero.
    int db = shownWhole(40.0f * std::log10(std::min(value, 1.0f)));
    formatText(text, "%3d", std::max(db, kLowestGainDb));
}

float routingFromText(const ParameterContext&, int, const char* text, float currentValue) {
    if (meansSilence(text)) return 0.0f;
    double db = 0.0;
    if (!parseDouble(text, db)) return currentValue;
    return static_cast<float>(std::sqrt(std::pow(10.0, std::clamp(db, -200.0, 0.0) / 20.0)));
}

float routingDefault(int member) {
    return RoutingMatrix().getBase(member);
}

void tempoDisplay(const ParameterContext& context, int, float value, ModuleText& text) {
    if (context.tempoSyncState != 0) {
        setText(text, "auto");
    } else {
        formatText(text, "%.2f", 30.0 + 270.0 * value);
    }
}

void tempoEditorText(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "%.1f bpm", units::tempoBpm(sanitizeUnit(value)));
}

float tempoFromText(const ParameterContext&, int, const char* text, float currentValue) {
    float bpm = 0.0f;
    if (!parseNumber(text, bpm)) return currentValue;
    bpm = std::clamp(bpm, kLowestTempoBpm, kHighestTempoBpm);
    return sanitizeUnit(units::tempoValue(bpm));
}

void songOffsetDisplay(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "%d", units::songOffsetSixteenths(sanitizeUnit(value)));
}

void songOffsetEditorText(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "%d/16", units::songOffsetSixteenths(sanitizeUnit(value)));
}

float songOffsetFromText(const ParameterContext&, int, const char* text, float currentValue) {
    float number = 0.0f;
    if (!parseNumber(text, number)) return currentValue;
    return std::clamp(std::trunc(number), 0.0f, kSixteenths) / kSixteenths;
}

void bypassText(const ParameterContext&, int, float value, ModuleText& text) {
    setText(text, valueToIndex(value, 2) == 1 ? "bypass" : "process");
}

void sourceDisplay(const ParameterContext& context, int, float value, ModuleText& text) {
    if (context.modules == nullptr) {
        setText(text, "");
        return;
    }
    sourceName(valueToIndex(value, kSourceStates), *context.modules, text);
}

void destinationDisplay(const ParameterContext& context, int, float value, ModuleText& text) {
    if (context.modules == nullptr) {
        setText(text, "");
        return;
    }
    destinationName(valueToIndex(value, kDestinationStates), *context.modules, text);
}

// Typed names of sources (long or short form) and destinations; names of positions that do not
// exist ("---") are never matched.
float slotNameFromText(const ParameterContext& context, bool source, const char* text,
                       float currentValue) {
    if (context.modules == nullptr) return currentValue;
    const int states = source ? kSourceStates : kDestinationStates;
    for (int state = 0; state < states; ++state) {
        ModuleText longName;
        ModuleText shortName;
        if (source) {
            sourceName(state, *context.modules, longName);
            sourceShortName(state, *context.modules, shortName);
        } else {
            destinationName(state, *context.modules, longName);
            setText(shortName, longName);
        }
        if (equalsNoCase(longName, "---")) continue;
        const char* names[] = {longName, shortName};
        if (choiceFromText(text, names, 2, -1.0f) >= 0.0f) return indexToValue(state, states);
    }
    return currentValue;
}

float sourceFromText(const ParameterContext& context, int, const char* text, float currentValue) {
    return slotNameFromText(context, true, text, currentValue);
}

float destinationFromText(const ParameterContext& context, int, const char* text,
                          float currentValue) {
    return slotNameFromText(context, false, text, currentValue);
}

void limiterText(const ParameterContext&, int, float value, ModuleText& text) {
    int mode = valueToIndex(value, kLimiterStates);
    setText(text, mode < static_cast<int>(std::size(kLimiterModes)) ? kLimiterModes[mode] : "n/a");
}

void tempoSyncDisplay(const ParameterContext&, int, float value, ModuleText& text) {
    int state = valueToIndex(value, kTempoSyncStates);
    setText(text, state == 0 ? "off" : (state == 1 ? "on" : "n/a"));
}

void tempoSyncEditorText(const ParameterContext&, int, float value, ModuleText& text) {
    int state = valueToIndex(sanitizeUnit(value), kTempoSyncStates);
    setText(text, state < 2 ? kTempoLockTexts[state] : "n/a");
}

// Bit fields show their state as a number and read one back.
template <int States>
void bitsText(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "%d", valueToIndex(value, States));
}

template <int States>
float bitsFromText(const ParameterContext&, int, const char* text, float currentValue) {
    double number = 0.0;
    if (!parseDouble(text, number) || number < 0.0 || number >= States ||
        number != std::trunc(number)) {
        return currentValue;
    }
    return indexToValue(static_cast<int>(number), States);
}

void shownOperatorText(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "OP%d", valueToIndex(value, kPageStates) + 1);
}

void shownPageText(const ParameterContext&, int, float value, ModuleText& text) {
    setText(text, kMainPages[valueToIndex(value, kPageStates)]);
}

void shownModulatorText(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "MOD%d", valueToIndex(value, kPageStates) + 1);
}

void meterHoldDisplay(const ParameterContext&, int, float value, ModuleText& text) {
    if (value >= 1.0f) {
        setText(text, "oo");
    } else {
        formatText(text, "%d", 1000 + static_cast<int>(4000.0f * sanitizeUnit(value)));
    }
}

void meterHoldEditorText(const ParameterContext&, int, float value, ModuleText& text) {
    value = sanitizeUnit(value);
    if (value == 1.0f) {
        setText(text, "infinite");
    } else {
        formatText(text, "%d ms",
                   static_cast<int>(kHoldLowestMs) + static_cast<int>(kHoldSpanMs * value));
    }
}

float meterHoldFromText(const ParameterContext&, int, const char* text, float currentValue) {
    text = skipBlanks(text);
    if (text[0] == 'i' || text[0] == 'I') return 1.0f;
    float number = 0.0f;
    if (!parseNumber(text, number)) return currentValue;
    if (number < kHoldLowestMs) return 0.0f;
    float value = truncatingUnitValue(std::min(number - kHoldLowestMs, kHoldSpanMs), kHoldSpanMs);
    return value >= 1.0f ? kLongestFiniteHold : value;
}

void meterFalloffDisplay(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "%d", 6 + static_cast<int>(54.0f * sanitizeUnit(value)));
}

void meterFalloffEditorText(const ParameterContext&, int, float value, ModuleText& text) {
    formatText(text, "%.0f dB/sec", units::meterFalloffDbPerSecond(sanitizeUnit(value)));
}

float meterFalloffFromText(const ParameterContext&, int, const char* text, float currentValue) {
    float number = 0.0f;
    if (!parseNumber(text, number)) return currentValue;
    float speed = std::clamp(number, kFalloffLowest, kFalloffLowest + kFalloffSpan);
    return truncatingUnitValue(speed - kFalloffLowest, kFalloffSpan);
}

void previewText(const ParameterContext&, int, float value, ModuleText& text) {
    setText(text, kPreviewModes[valueToIndex(value, kPreviewStates)]);
}

void emptyText(const ParameterContext&, int, float, ModuleText& text) {
    setText(text, "");
}

using G = ParameterGroup;
constexpr EditorWrite kRecorded = EditorWrite::kRecorded;
constexpr EditorWrite kDirect = EditorWrite::kDirect;

// The gains of the routing matrix: input to operators, operator to operator and operators to
// output, numbered on through the three rows.
constexpr ParameterDescriptor routingRow(int first, int count, int memberBase) {
    return {G::kRouting,
            first,
            count,
            memberBase,
            nullptr,
            routingName,
            "dB",
            0,
            0,
            0.0f,
            routingDefault,
            routingDisplay,
            routingEditorText,
            routingFromText,
            kRecorded};
}

// The rows in index order. Columns: group, first, count, member base, name, name function,
// label, states, offered states, default, default function, display, editor text, from text,
// how the editor writes it.
const ParameterDescriptor kRows[] = {
    {G::kPower, kPower, 1, 0, "Power", nullptr, "", 2, 2, indexToValue(1, 2), nullptr, onOffText,
     nullptr, nullptr, kRecorded},
    {G::kMainLevel, kInput, 1, 0, "Input", nullptr, "dB", 0, 0, 0.5f, nullptr, levelDisplay,
     levelEditorText, levelFromText, kRecorded},
    {G::kMainLevel, kMix, 1, 1, "Mix", nullptr, "%", 0, 0, 1.0f, nullptr, mixDisplay, percentText,
     percentFromText, kRecorded},
    {G::kMainLevel, kOutput, 1, 2, "Output", nullptr, "dB", 0, 0, 0.5f, nullptr, levelDisplay,
     levelEditorText, levelFromText, kRecorded},
    {G::kKnob, kKnob1, kKnobCount, 0, "KNOB%d", nullptr, "", 0, 0, 0.0f, nullptr, percentText,
     nullptr, percentFromText, kRecorded},
    {G::kOperatorType, kOperatorType1, kSlotCount, 0, "OP%d type", nullptr, "", kModuleTypeStates,
     kOperatorTypeCount, indexToValue(kGain, kModuleTypeStates), nullptr, operatorTypeDisplay,
     nullptr, operatorTypeFromText, kRecorded},
    {G::kOperatorPosition, kOperatorBase, kSlotCount* kOperatorPositions, 0, nullptr, nullptr, "",
     0, 0, 0.0f, nullptr, nullptr, nullptr, nullptr, kRecorded},
    {G::kModulatorType, kModulatorType1, kSlotCount, 0, "MOD%d type", nullptr, "",
     kModuleTypeStates, kModulatorTypeCount, indexToValue(kEmpty, kModuleTypeStates), nullptr,
     modulatorTypeDisplay, nullptr, modulatorTypeFromText, kRecorded},
    {G::kModulatorPosition, kModulatorBase, kSlotCount* kModulatorPositions, 0, nullptr, nullptr,
     "", 0, 0, 0.0f, nullptr, nullptr, nullptr, nullptr, kRecorded},
    {G::kSlotSensitivity, kSlotSensitivity1, kModulationSlots, 0, "SLOT%d SENS", nullptr, "", 0, 0,
     0.5f, nullptr, sensitivityDisplay, sensitivityEditorText, sensitivityFromText, kRecorded},
    // The start-up default reads as state 16 (4 samples at 44.1 kHz).
    {G::kDryDelay, kDryDelay, 1, 0, "DryDly", nullptr, "smpl/ms", kDryDelayStates, 0,
     indexToValue(16, kDryDelayStates - 1), nullptr, dryDelayDisplay, dryDelayEditorText,
     dryDelayFromText, kRecorded},
    routingRow(kInToOp1, kSlotCount, 0),
    routingRow(kOpToOp11, kSlotCount* kSlotCount, kSlotCount),
    routingRow(kOpToOut1, kSlotCount, kSlotCount + kSlotCount * kSlotCount),
    {G::kTempo, kTempo, 1, 0, "Tempo", nullptr, "bpm", 0, 0, 1.0f / 3.0f, nullptr, tempoDisplay,
     tempoEditorText, tempoFromText, kRecorded},
    {G::kSongOffset, kPpqOffset, 1, 0, "PPQOffset", nullptr, "", 0, 0, 0.0f, nullptr,
     songOffsetDisplay, songOffsetEditorText, songOffsetFromText, kDirect},
    {G::kSpare, kSpareFirst, kHostParameterCount - kSpareFirst, 0, "", nullptr, "", 0, 0, 0.0f,
     nullptr, emptyText, nullptr, nullptr, kDirect},
    {G::kOperatorBypass, kOperatorBypass1, kSlotCount, 0, "OP%d bypass", nullptr, "", 2, 2, 0.0f,
     nullptr, bypassText, nullptr, nullptr, kDirect},
    {G::kModulatorBypass, kModulatorBypass1, kSlotCount, 0, "MOD%d bypass", nullptr, "", 2, 2, 0.0f,
     nullptr, bypassText, nullptr, nullptr, kDirect},
    {G::kSlotSource, kSlotSource1, kModulationSlots, 0, "SLOT%d SRC", nullptr, "", kSourceStates,
     kSourceStates, indexToValue(ModulationSlots::kSourceNone, kSourceStates), nullptr,
     sourceDisplay, nullptr, sourceFromText, kDirect},
    {G::kSlotDestination, kSlotDestination1, kModulationSlots, 0, "SLOT%d DST", nullptr, "",
     kDestinationStates, kDestinationStates,
     indexToValue(ModulationSlots::kDestinationNone, kDestinationStates), nullptr,
     destinationDisplay, nullptr, destinationFromText, kDirect},
    {G::kKnobName, kKnobName1, kKnobCount* kKnobNameLength, 0, "", nullptr, "",
     kKnobCharacterStates, 0, 0.0f, nullptr, emptyText, nullptr, nullptr, kDirect},
    {G::kLimiter, kOutLimiter, 1, 0, "OutLimiter", nullptr, "", kLimiterStates,
     static_cast<int>(std::size(kLimiterModes)), indexToValue(2, kLimiterStates), nullptr,
     limiterText, nullptr, nullptr, kDirect},
    {G::kTempoSync, kTempoSync, 1, 0, "TempoSync", nullptr, "", kTempoSyncStates,
     static_cast<int>(std::size(kTempoLockTexts)), indexToValue(1, kTempoSyncStates), nullptr,
     tempoSyncDisplay, tempoSyncEditorText, nullptr, kDirect},
    {G::kMidSide, kOpLrMs, 1, 0, "OP_LR_MS", nullptr, "", kOpLrMsStates, 0, 0.0f, nullptr,
     bitsText<kOpLrMsStates>, nullptr, bitsFromText<kOpLrMsStates>, kDirect},
    {G::kInversion, kOpInv, 1, 0, "OP_Inv", nullptr, "", kOpInvStates, 0, 0.0f, nullptr,
     bitsText<kOpInvStates>, nullptr, bitsFromText<kOpInvStates>, kDirect},
    {G::kSlotMutes, kSlotStatus, 1, 0, "SLOTStatus", nullptr, "", kSlotStatusStates, 0, 0.0f,
     nullptr, bitsText<kSlotStatusStates>, nullptr, bitsFromText<kSlotStatusStates>, kDirect},
    {G::kUnused, kUnused416, 1, 0, "", nullptr, "", 0, 0, 0.0f, nullptr, emptyText, nullptr,
     nullptr, kDirect},
    {G::kPage, kCurrentOperator, 1, 0, "Curr OP", nullptr, "", kPageStates, kPageStates, 0.0f,
     nullptr, shownOperatorText, nullptr, nullptr, kDirect},
    {G::kPage, kCurrentMain, 1, 1, "Curr MAIN", nullptr, "", kPageStates, kPageStates,
     indexToValue(1, kPageStates), nullptr, shownPageText, nullptr, nullptr, kDirect},
    {G::kPage, kCurrentModulator, 1, 2, "Curr MOD", nullptr, "", kPageStates, kPageStates, 0.0f,
     nullptr, shownModulatorText, nullptr, nullptr, kDirect},
    {G::kMeterHold, kMeterHold, 1, 0, "MeterHold", nullptr, "ms", 0, 0, 0.25f, nullptr,
     meterHoldDisplay, meterHoldEditorText, meterHoldFromText, kDirect},
    {G::kMeterFalloff, kMeterFalloff, 1, 0, "MeterFalloff", nullptr, "dB/sec", 0, 0, 1.0f / 3.0f,
     nullptr, meterFalloffDisplay, meterFalloffEditorText, meterFalloffFromText, kDirect},
    {G::kUnused, kMeterFalloff + 1, kModulationPreview - kMeterFalloff - 1, 0, "", nullptr, "", 0,
     0, 0.0f, nullptr, emptyText, nullptr, nullptr, kDirect},
    {G::kModulationPreview, kModulationPreview, 1, 0, "", nullptr, "", kPreviewStates,
     kPreviewStates, 0.0f, nullptr, emptyText, previewText, nullptr, kDirect},
};

constexpr int kRowCount = static_cast<int>(std::size(kRows));

// The row of every index, found once.
struct RowIndex {
    unsigned char row[kInternalParameterCount] = {};
    RowIndex() {
        for (int r = 0; r < kRowCount; ++r) {
            for (int i = 0; i < kRows[r].count; ++i)
                row[kRows[r].first + i] = static_cast<unsigned char>(r);
        }
    }
};
const RowIndex kRowIndex;

bool inTable(int index) {
    return index >= 0 && index < kInternalParameterCount;
}

// The unused row stands for indices outside the table.
const ParameterDescriptor& rowOf(int index) {
    return inTable(index) ? kRows[kRowIndex.row[index]] : kRows[kRowIndex.row[kUnused416]];
}

// The module a position index belongs to and the position within it; false when there is none.
struct SlotPosition {
    const Module* module = nullptr;  // null where the context holds no modules
    int position = 0;
    int slot = 0;
    bool isOperator = true;
};

bool modulePosition(int index, const ParameterContext& context, SlotPosition& at) {
    const ParameterDescriptor& row = rowOf(index);
    if (row.group != G::kOperatorPosition && row.group != G::kModulatorPosition) return false;
    at.isOperator = row.group == G::kOperatorPosition;
    const int positions = at.isOperator ? kOperatorPositions : kModulatorPositions;
    const int member = index - row.first;
    at.slot = member / positions;
    at.position = member % positions;
    if (context.modules != nullptr) {
        at.module = at.isOperator ? context.modules->operators[at.slot]
                                  : context.modules->modulators[at.slot];
    }
    return true;
}

}  // namespace

const ParameterDescriptor& describeParameter(int index) {
    return rowOf(index);
}

int parameterMember(int index) {
    const ParameterDescriptor& row = rowOf(index);
    return inTable(index) ? row.memberBase + index - row.first : 0;
}

ParameterGroup parameterGroup(int index) {
    return rowOf(index).group;
}

int parameterRowCount() {
    return kRowCount;
}

const ParameterDescriptor& parameterRow(int row) {
    return kRows[row >= 0 && row < kRowCount ? row : 0];
}

float parameterDefault(int index) {
    const ParameterDescriptor& row = rowOf(index);
    return row.defaultOf != nullptr ? row.defaultOf(parameterMember(index)) : row.defaultValue;
}

void parameterName(int index, const ParameterContext& context, ModuleText& text) {
    setText(text, "");
    SlotPosition at;
    if (modulePosition(index, context, at)) {
        ModuleText part = "";
        if (at.module != nullptr) at.module->getParameterName(at.position, part);
        formatText(text, "%s%d %s", at.isOperator ? "OP" : "MOD", at.slot + 1, part);
        return;
    }
    const ParameterDescriptor& row = rowOf(index);
    if (row.nameOf != nullptr) {
        row.nameOf(parameterMember(index), text);
    } else if (row.name != nullptr) {
        formatText(text, sizeof(ModuleText), row.name, index - row.first + 1);
    }
}

void parameterLabel(int index, const ParameterContext& context, ModuleText& text) {
    SlotPosition at;
    if (modulePosition(index, context, at)) {
        setText(text, "");
        if (at.module != nullptr) at.module->getParameterLabel(at.position, text);
        return;
    }
    setText(text, rowOf(index).label);
}

void parameterDisplay(int index, float value, const ParameterContext& context, ModuleText& text) {
    setText(text, "");
    SlotPosition at;
    if (modulePosition(index, context, at)) {
        // A module shows its own base value, which is what the stored value has been handed.
        if (at.module != nullptr) at.module->getParameterDisplay(at.position, text);
        return;
    }
    const ParameterDescriptor& row = rowOf(index);
    if (row.display != nullptr) row.display(context, parameterMember(index), value, text);
}

void parameterEditorText(int index, float value, const ParameterContext& context,
                         ModuleText& text) {
    setText(text, "");
    SlotPosition at;
    if (modulePosition(index, context, at)) {
        if (at.module != nullptr) at.module->getEditorText(at.position, value, text);
        return;
    }
    const ParameterDescriptor& row = rowOf(index);
    ParameterText shown = row.editorText != nullptr ? row.editorText : row.display;
    if (shown != nullptr) shown(context, parameterMember(index), value, text);
}

float parameterFromText(int index, const char* text, float currentValue,
                        const ParameterContext& context) {
    if (text == nullptr) return currentValue;
    SlotPosition at;
    if (modulePosition(index, context, at)) {
        return at.module != nullptr ? at.module->textToValue(at.position, text, currentValue)
                                    : currentValue;
    }
    const ParameterDescriptor& row = rowOf(index);
    const int member = parameterMember(index);
    if (row.fromText != nullptr) {
        return sanitizeUnit(row.fromText(context, member, text, currentValue));
    }
    if (row.states == 0 || row.display == nullptr) return currentValue;
    // A discrete parameter reads the texts of its states, as the host or the editor shows them.
    for (int state = 0; state < row.states; ++state) {
        const float value = indexToValue(state, row.states);
        ModuleText shown;
        row.display(context, member, value, shown);
        ModuleText edited = "";
        if (row.editorText != nullptr) row.editorText(context, member, value, edited);
        const char* names[] = {shown, edited};
        if (shown[0] != 0 && choiceFromText(text, names, 1, -1.0f) >= 0.0f) return value;
        if (edited[0] != 0 && choiceFromText(text, names + 1, 1, -1.0f) >= 0.0f) return value;
    }
    return currentValue;
}

}  // namespace kirra
