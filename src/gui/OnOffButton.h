#pragma once
// A two-state button drawn from a film strip of two frames (off, on); a click toggles it.

#include "gui/Control.h"
#include "gui/FilmStrip.h"

namespace kirra::gui {

class OnOffButton : public Control {
  public:
    OnOffButton(const Rect& rect, ControlListener* listener, int tag, FilmStrip strip)
        : Control(rect, listener, tag), strip_(strip) {}

    bool isOn() const { return getValue() >= 0.5f; }
    void draw(DrawContext& context) override;
    bool onMouseDown(const MouseEvent& event) override;

  protected:
    FilmStrip strip_;
};

}  // namespace kirra::gui
