#include "editor/ParameterTextSource.h"

#include "editor/EditorTags.h"
#include "editor/EditorZoom.h"
#include "engine/Plugin.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

void ParameterTextSource::valueText(int index, float value, ModuleText& text) {
    if (index == tags::kZoom) {
        formatText(text, "%d%%", zoom::percentOfStep(valueToIndex(value, zoom::kSteps)));
        return;
    }
    plugin_.getEditorText(index, value, text);
}

float ParameterTextSource::textToValue(int index, const char* text, float currentValue) {
    return plugin_.textToValue(index, text, currentValue);
}

}  // namespace kirra::editor
