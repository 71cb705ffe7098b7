#pragma once
// Texts of the editor's fields bound to internal parameters (the preferences, the modulation
// preview), by index: the engine's description says what each shows and how a typed text reads.

#include "editor/ValueTextSource.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

class ParameterTextSource : public ValueTextSource {
  public:
    explicit ParameterTextSource(Plugin& plugin) : plugin_(plugin) {}

    void valueText(int index, float value, ModuleText& text) override;
    float textToValue(int index, const char* text, float currentValue) override;

  private:
    Plugin& plugin_;
};

}  // namespace kirra::editor
