#include "editor/PreferenceTextSource.h"

#include "engine/ParameterIndex.h"
#include "engine/PreferenceTexts.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

namespace {
// 1.0 means holding for ever; a typed number of milliseconds asks for a finite hold, so the
// longest one it can have is just below.
constexpr float kLongestFiniteHold = 3999.5f / 4000.0f;
}  // namespace

void PreferenceTextSource::valueText(int index, float value, ModuleText& text) {
    if (index == param::kModulationPreview) {
        static const char* const kModes[] = {"off", "left", "right"};
        setText(text, kModes[valueToIndex(value, param::kPreviewStates)]);
        return;
    }
    preferenceText(index, value, text);
}

float PreferenceTextSource::textToValue(int index, const char* text, float currentValue) {
    float value = preferenceValue(index, text, currentValue);
    if (index == param::kMeterHold && value >= 1.0f) {
        while (*text == ' ' || *text == '\t')
            ++text;
        if (*text != 'i' && *text != 'I') value = kLongestFiniteHold;
    }
    return value;
}

}  // namespace kirra::editor
