#pragma once
// Main page 2: the output limiter mode, the tempo settings and the meter settings, each bound to
// an internal parameter and set without host automation, and "SAVE AS DEFAULT".

#include "editor/ParameterReader.h"
#include "editor/ValueTextSource.h"
#include "gui/Control.h"
#include "gui/ViewContainer.h"

namespace kirra::editor {

class PreferencesPage : public gui::ViewContainer {
  public:
    PreferencesPage(const gui::Rect& rect, gui::ControlListener* listener, ValueTextSource& texts,
                    const ParameterReader& values);
};

}  // namespace kirra::editor
