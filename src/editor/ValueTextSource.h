#pragma once
// Where a value field gets its texts: a module's text functions for one of its positions, or any
// other conversion. Also told when the user starts and stops editing, so that a module's plot
// shows base values meanwhile.

#include "modules/ModuleText.h"

namespace kirra::editor {

class ValueTextSource {
  public:
    virtual void valueText(int position, float value, ModuleText& text) = 0;
    // The value a typed text stands for; the current value when it means nothing.
    virtual float textToValue(int position, const char* text, float currentValue) = 0;
    virtual void setEditing(bool /*editing*/) {}

  protected:
    ~ValueTextSource() = default;
};

}  // namespace kirra::editor
