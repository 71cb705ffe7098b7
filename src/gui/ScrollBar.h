#pragma once
// The vertical scroll bar of a list: an arrow at each end, a track and a thumb whose length shows
// the visible share. Holds the first visible line; the owning view forwards its mouse events.

#include "gui/DrawContext.h"
#include "gui/Geometry.h"

namespace kirra::gui {

class ScrollBar {
  public:
    static constexpr int kWidth = 9;

    // The bar's whole rectangle (arrows included), the number of lines and how many show.
    void setGeometry(const Rect& bar, int lineCount, int visibleLines);
    bool isNeeded() const { return lineCount_ > visibleLines_; }
    int first() const { return first_; }
    int lastFirst() const { return lineCount_ > visibleLines_ ? lineCount_ - visibleLines_ : 0; }
    // Limited so that the list stays full; true when the first line changed.
    bool scrollTo(int first);

    const Rect& bar() const { return bar_; }
    Rect upArrow() const { return {bar_.left, bar_.top, bar_.right, bar_.top + kWidth}; }
    Rect downArrow() const { return {bar_.left, bar_.bottom - kWidth, bar_.right, bar_.bottom}; }
    Rect thumb() const;

    // True when the press was on the bar (it may have scrolled).
    bool mouseDown(Point where);
    // True when a thumb drag scrolled.
    bool mouseMoved(Point where);
    void mouseUp() { draggingThumb_ = false; }

    // Arrows at an end of the range are drawn in the greyed colour.
    void draw(DrawContext& context, Color color, Color greyed, const Font& font) const;

  private:
    Rect bar_;
    int lineCount_ = 0;
    int visibleLines_ = 1;
    int first_ = 0;
    bool draggingThumb_ = false;
    int grabOffset_ = 0;
};

}  // namespace kirra::gui
