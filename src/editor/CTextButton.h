#pragma once
// A two-state button labelled with a text, lit while on; a click toggles it.

#include <string>

#include "gui/Control.h"

namespace kirra::editor {

class CTextButton : public gui::Control {
  public:
    CTextButton(const gui::Rect& rect, gui::ControlListener* listener, int tag, std::string label)
        : Control(rect, listener, tag), label_(std::move(label)) {}

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;

  private:
    std::string label_;
};

}  // namespace kirra::editor
