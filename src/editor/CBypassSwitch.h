#pragma once
// The small switch at the right of a slot's type picker: lit while the shown module is bypassed.
// Its tag is the bypass parameter of the shown slot, so the editor writes it like any edit.

#include "gui/Control.h"

namespace kirra::editor {

class CBypassSwitch : public gui::Control {
  public:
    using gui::Control::Control;

    bool isBypassed() const { return getValue() >= 0.5f; }
    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
};

}  // namespace kirra::editor
