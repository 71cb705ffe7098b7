#pragma once
// A button that steps through the frames of a film strip: a left click shows the next frame, a
// right click the previous one, both wrapping. The value is the frame over the last frame.

#include "gui/Control.h"
#include "gui/FilmStrip.h"

namespace kirra::gui {

class MovieButton : public Control {
  public:
    MovieButton(const Rect& rect, ControlListener* listener, int tag, FilmStrip strip)
        : Control(rect, listener, tag), strip_(strip) {}

    // The film strip frame shown, from the value.
    int stripFrame() const { return strip_.frameFor(getValue()); }
    void draw(DrawContext& context) override;
    bool onMouseDown(const MouseEvent& event) override;

  private:
    FilmStrip strip_;
};

}  // namespace kirra::gui
