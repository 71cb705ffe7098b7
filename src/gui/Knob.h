#pragma once
// A rotary control drawn from a film strip and turned by dragging up and down.

#include "gui/Control.h"
#include "gui/FilmStrip.h"
#include "gui/VerticalDrag.h"

namespace kirra::gui {

class Knob : public Control {
  public:
    Knob(const Rect& rect, ControlListener* listener, int tag, FilmStrip strip)
        : Control(rect, listener, tag), strip_(strip) {}

    void draw(DrawContext& context) override;
    bool onMouseDown(const MouseEvent& event) override;
    void onMouseMoved(const MouseEvent& event) override;
    void onMouseUp(const MouseEvent& event) override;
    bool onWheel(const MouseEvent& event, float steps) override;

    bool isDragging() const { return drag_.isActive(); }

  protected:
    // Pixels of vertical travel for the full range, by the modifier keys held.
    virtual int pixelsForRange(int modifiers) const { return (modifiers & kShift) ? 1000 : 200; }
    // Value change per wheel step.
    virtual float wheelStep(int modifiers) const { return (modifiers & kShift) ? 0.001f : 0.01f; }
    // The frame drawn for the current state.
    virtual int currentFrame() const { return strip_.frameFor(getValue()); }
    void startDrag(const MouseEvent& event);

    FilmStrip strip_;

  private:
    VerticalDrag drag_;
};

}  // namespace kirra::gui
