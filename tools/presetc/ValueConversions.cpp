#include "presetc/ValueConversions.h"

#include <cmath>
#include <cstdlib>

#include "engine/ModulationNames.h"
#include "engine/ParameterIndex.h"
#include "engine/ParameterTable.h"
#include "modules/Module.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "presetc/TextMatching.h"

namespace presets::conversions {

using namespace kirra::param;

namespace {

bool parseDecimal(const std::string& text, double& number) {
    std::string clean = trim(text);
    char* end = nullptr;
    number = std::strtod(clean.c_str(), &end);
    if (end == clean.c_str()) return false;
    std::string unit = lower(trim(end));
    // A unit after the number is allowed for readability.
    return unit.empty() || unit == "db" || unit == "%" || unit == "bpm" || unit == "smpl" ||
           unit == "samples" || unit == "/16";
}

int discreteStates(int index) {
    if (index == kPower) return 2;
    if (index >= kOperatorBypass1 && index < kModulatorBypass1 + kSlotCount) return 2;
    if (index == kOutLimiter) return kLimiterStates;
    if (index == kTempoSync) return kTempoSyncStates;
    if (index == kOpLrMs) return kOpLrMsStates;
    if (index == kOpInv) return kOpInvStates;
    if (index == kSlotStatus) return kSlotStatusStates;
    return 0;
}

// The discrete state whose display text this is.
float matchState(int index, int states, const std::string& text) {
    kirra::DisplayContext context;
    for (int state = 0; state < states; ++state) {
        kirra::ModuleText display;
        float candidate = kirra::indexToValue(state, states);
        kirra::engineParameterDisplay(index, candidate, context, display);
        if (sameText(text, display)) return candidate;
    }
    return NAN;
}

bool isLevel(int index) {
    return index == kInput || index == kOutput;
}

bool isRouting(int index) {
    return index >= kRoutingFirst && index < kRoutingFirst + kRoutingCount;
}

bool isMainParameter(int index) {
    return index <= kKnob1 + kKnobCount - 1 || (index >= kDryDelay && index <= kPpqOffset) ||
           (index >= kOperatorBypass1 && index < kModulatorBypass1 + kSlotCount) ||
           (index >= kOutLimiter && index <= kOpInv);
}

// A source or destination: states is its state count, name(state, long, short) its two names.
template <typename Names>
float matchListed(const std::string& text, int states, Names names) {
    for (int state = 0; state < states; ++state) {
        kirra::ModuleText longName;
        kirra::ModuleText shortName;
        names(state, longName, shortName);
        // "---" marks a position the module leaves unused, which cannot be aimed at.
        if (std::string(longName) != "---" &&
            (sameText(text, longName) || sameText(text, shortName)))
            return kirra::indexToValue(state, states);
    }
    return NAN;
}

}  // namespace

int mainParameter(const std::string& name) {
    for (int index = 0; index < kProgramParameterCount; ++index) {
        if (!isMainParameter(index)) continue;
        kirra::ModuleText candidate;
        kirra::engineParameterName(index, candidate);
        if (candidate[0] != 0 && sameText(name, candidate)) return index;
    }
    return -1;
}

float engineValueFromText(int index, const std::string& text) {
    if (int states = discreteStates(index)) return matchState(index, states, text);
    if ((isLevel(index) || isRouting(index)) && sameText(text, "-oo")) return 0.0f;
    double number = 0.0;
    if (!parseDecimal(text, number)) return NAN;
    // Input and Output: the square root of a quarter of the gain; routing: of the gain.
    if (isLevel(index)) return std::sqrt(std::pow(10.0, number / 20.0) / 4.0);
    if (isRouting(index)) return std::sqrt(std::pow(10.0, number / 20.0));
    if (index == kMix || (index >= kKnob1 && index < kKnob1 + kKnobCount)) return number / 100.0;
    if (index == kTempo) return (number - 30.0) / 270.0;
    // The middle of the sixteenth, so the value reads back as the same sixteenth.
    if (index == kPpqOffset) return (std::floor(number) + 0.5) / 16.0;
    // Samples at 44.1 kHz, four states a sample.
    if (index == kDryDelay)
        return kirra::indexToValue(static_cast<int>(number) * 4, kDryDelayStates);
    return NAN;
}

float moduleTypeFromName(bool isOperator, const std::string& shortName) {
    int count = isOperator ? static_cast<int>(kirra::kOperatorTypeCount)
                           : static_cast<int>(kirra::kModulatorTypeCount);
    for (int type = 0; type < count; ++type) {
        const auto& entry =
            isOperator ? kirra::operatorCatalogue(type) : kirra::modulatorCatalogue(type);
        if (sameText(shortName, entry.shortName))
            return kirra::indexToValue(type, kirra::kModuleTypeStates);
    }
    return NAN;
}

int modulePosition(const kirra::Module& module, const std::string& name) {
    for (int position = 0; position < module.getPositionCount(); ++position) {
        kirra::ModuleText candidate;
        module.getParameterName(position, candidate);
        if (std::string(candidate) != "---" && sameText(name, candidate)) return position;
    }
    return -1;
}

float moduleValueFromText(const kirra::Module& module, int position, const std::string& text) {
    // A text the module does not understand leaves the current value, whichever it is: reading
    // it against two different current values tells the two cases apart.
    float low = module.textToValue(position, text.c_str(), 0.25f);
    float high = module.textToValue(position, text.c_str(), 0.75f);
    return low == high ? low : NAN;
}

float slotSourceFromText(const std::string& text, const kirra::SlotModules& modules) {
    return matchListed(text, kSourceStates,
                       [&](int state, kirra::ModuleText& longName, kirra::ModuleText& shortName) {
                           kirra::sourceName(state, modules, longName);
                           kirra::sourceShortName(state, modules, shortName);
                       });
}

float slotDestinationFromText(const std::string& text, const kirra::SlotModules& modules) {
    // Destinations have one name only.
    return matchListed(text, kDestinationStates,
                       [&](int state, kirra::ModuleText& longName, kirra::ModuleText& shortName) {
                           kirra::destinationName(state, modules, longName);
                           kirra::destinationName(state, modules, shortName);
                       });
}

float sensitivityFromText(const std::string& text) {
    double percent;
    return parseDecimal(text, percent) ? static_cast<float>((percent + 100.0) / 200.0) : NAN;
}

float slotStatusWithMute(float status, int slot, bool muted) {
    int bits = kirra::valueToIndex(status, kSlotStatusStates);
    bits = muted ? bits | (1 << slot) : bits & ~(1 << slot);
    return kirra::indexToValue(bits, kSlotStatusStates);
}

float knobCharacter(int code) {
    return kirra::indexToValue(code, kKnobCharacterStates);
}

}  // namespace presets::conversions
