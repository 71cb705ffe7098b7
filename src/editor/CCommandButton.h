#pragma once
// A small push button that runs a command of the frame (undo, redo, the A/B copies): each
// click reports to the listener; the value is not a state. Greyed and deaf while the command
// has nothing to do.

#include <string>

#include "gui/Control.h"

namespace kirra::editor {

class CCommandButton : public gui::Control {
  public:
    // The arrow of undo and redo, or a text.
    enum class Face { kArrowLeft, kArrowRight, kText };

    CCommandButton(const gui::Rect& rect, gui::ControlListener* listener, int tag, Face face,
                   std::string label = {})
        : Control(rect, listener, tag), face_(face), label_(std::move(label)) {}

    void setAvailable(bool available);
    void setLabel(const std::string& label);
    bool isAvailable() const { return available_; }
    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;

  private:
    Face face_;
    std::string label_;
    bool available_ = true;
};

}  // namespace kirra::editor
