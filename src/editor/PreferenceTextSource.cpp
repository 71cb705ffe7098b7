#include "editor/PreferenceTextSource.h"

#include "editor/EditorTexts.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

void PreferenceTextSource::valueText(int index, float value, ModuleText& text) {
    switch (index) {
        case param::kOutLimiter:
            limiterModeText(value, text);
            break;
        case param::kTempo:
            tempoText(value, text);
            break;
        case param::kTempoSync:
            tempoSyncText(value, text);
            break;
        case param::kPpqOffset:
            songPositionOffsetText(value, text);
            break;
        case param::kMeterFalloff:
            meterFalloffText(value, text);
            break;
        case param::kMeterHold:
            meterHoldText(value, text);
            break;
        case param::kModulationPreview: {
            static const char* const kModes[] = {"off", "left", "right"};
            setText(text, kModes[valueToIndex(value, param::kPreviewStates)]);
            break;
        }
        default:
            formatText(text, "%.3f", value);
            break;
    }
}

float PreferenceTextSource::textToValue(int index, const char* text, float currentValue) {
    switch (index) {
        case param::kTempo:
            return tempoValue(text, currentValue);
        case param::kPpqOffset:
            return songPositionOffsetValue(text, currentValue);
        case param::kMeterFalloff:
            return meterFalloffValue(text, currentValue);
        case param::kMeterHold:
            return meterHoldValue(text, currentValue);
        default:
            return currentValue;
    }
}

}  // namespace kirra::editor
