#pragma once
// A rectangle of the view tree: draws itself and reacts to the mouse and keys. Views keep frame
// coordinates; containers own their children.

#include <string>

#include "gui/DrawContext.h"
#include "gui/Events.h"
#include "gui/Geometry.h"

namespace kirra::gui {

class Frame;
class ViewContainer;

class View {
  public:
    explicit View(const Rect& rect) : rect_(rect) {}
    virtual ~View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    const Rect& getRect() const { return rect_; }
    void setRect(const Rect& rect);
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    View* getParent() const { return parent_; }
    virtual Frame* getFrame();
    // True when this view is `ancestor` or lies inside it.
    bool isInside(const View* ancestor) const;

    // Asks for this view to be drawn again at the next redraw.
    void invalid();

    virtual void draw(DrawContext& /*context*/) {}
    // Draws this view where it meets the area being redrawn.
    virtual void drawRect(DrawContext& context, const Rect& area);
    // The deepest visible view at a point, or null.
    virtual View* hitTest(Point where);

    // Mouse: a view that accepts the press receives the moves and the release.
    virtual bool onMouseDown(const MouseEvent& /*event*/) { return false; }
    virtual void onMouseMoved(const MouseEvent& /*event*/) {}
    virtual void onMouseUp(const MouseEvent& /*event*/) {}
    // Wheel steps: positive away from the user.
    virtual bool onWheel(const MouseEvent& /*event*/, float /*steps*/) { return false; }
    virtual void onMouseEnter() {}
    virtual void onMouseExit() {}
    // Keys reach the focus view, or else the view under the pointer and its parents.
    virtual bool onKeyDown(const KeyEvent& /*event*/) { return false; }
    virtual void onFocusLost() {}
    // What the pointer's help says about the point (lines apart by '\n'); empty for nothing.
    virtual std::string tooltip(Point /*where*/) const { return {}; }

  private:
    friend class ViewContainer;
    friend class Frame;

    Rect rect_;
    View* parent_ = nullptr;
    bool visible_ = true;
};

}  // namespace kirra::gui
