#pragma once
// Texts of the preference fields and the modulation-preview choice, by internal parameter index
// (the fields use the index as their position).

#include "editor/ValueTextSource.h"

namespace kirra::editor {

class PreferenceTextSource : public ValueTextSource {
  public:
    void valueText(int index, float value, ModuleText& text) override;
    float textToValue(int index, const char* text, float currentValue) override;
};

}  // namespace kirra::editor
