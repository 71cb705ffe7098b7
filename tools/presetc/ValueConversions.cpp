#include "presetc/ValueConversions.h"

#include <cmath>

#include "engine/ModulationNames.h"
#include "engine/ParameterDescription.h"
#include "engine/ParameterIndex.h"
#include "modules/Module.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "presetc/TextMatching.h"

namespace presets::conversions {

using namespace kirra::param;

namespace {

using kirra::ParameterGroup;

// The groups a [main] section sets by name; types, positions, slots and knob names have sections
// of their own.
bool isMainParameter(int index) {
    switch (kirra::parameterGroup(index)) {
        case ParameterGroup::kPower:
        case ParameterGroup::kMainLevel:
        case ParameterGroup::kKnob:
        case ParameterGroup::kDryDelay:
        case ParameterGroup::kRouting:
        case ParameterGroup::kTempo:
        case ParameterGroup::kSongOffset:
        case ParameterGroup::kOperatorBypass:
        case ParameterGroup::kModulatorBypass:
        case ParameterGroup::kLimiter:
        case ParameterGroup::kTempoSync:
        case ParameterGroup::kMidSide:
        case ParameterGroup::kInversion:
            return true;
        default:
            return false;
    }
}

// The engine's reading of a typed text. A text the parameter does not read leaves the current
// value, whichever it is: reading it against two different current values tells the cases apart.
float readBack(int index, const std::string& text, const kirra::ParameterContext& context) {
    const std::string clean = trim(text);
    float low = kirra::parameterFromText(index, clean.c_str(), 0.25f, context);
    float high = kirra::parameterFromText(index, clean.c_str(), 0.75f, context);
    return low == high ? low : NAN;
}

}  // namespace

int mainParameter(const std::string& name) {
    const kirra::ParameterContext context;
    for (int index = 0; index < kProgramParameterCount; ++index) {
        if (!isMainParameter(index)) continue;
        kirra::ModuleText candidate;
        kirra::parameterName(index, context, candidate);
        if (candidate[0] != 0 && sameText(name, candidate)) return index;
    }
    return -1;
}

float engineValueFromText(int index, const std::string& text) {
    return readBack(index, text, kirra::ParameterContext());
}

float moduleTypeFromName(bool isOperator, const std::string& shortName) {
    return readBack(isOperator ? kOperatorType1 : kModulatorType1, shortName,
                    kirra::ParameterContext());
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
    kirra::ParameterContext context;
    context.modules = &modules;
    return readBack(kSlotSource1, text, context);
}

float slotDestinationFromText(const std::string& text, const kirra::SlotModules& modules) {
    kirra::ParameterContext context;
    context.modules = &modules;
    return readBack(kSlotDestination1, text, context);
}

float sensitivityFromText(const std::string& text) {
    return readBack(kSlotSensitivity1, text, kirra::ParameterContext());
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
