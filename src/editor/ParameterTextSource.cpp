#include "editor/ParameterTextSource.h"

#include "engine/Plugin.h"

namespace kirra::editor {

void ParameterTextSource::valueText(int index, float value, ModuleText& text) {
    plugin_.getEditorText(index, value, text);
}

float ParameterTextSource::textToValue(int index, const char* text, float currentValue) {
    return plugin_.textToValue(index, text, currentValue);
}

}  // namespace kirra::editor
