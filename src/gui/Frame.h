#pragma once
// The root of a view tree: receives the window's events and routes them (mouse capture, hover,
// keyboard focus, one modal view above everything), collects the areas to redraw and renders
// any part of the tree into an image.

#include <memory>
#include <vector>

#include "gui/ViewContainer.h"

namespace kirra::gui {

class Image;

class Frame : public ViewContainer {
  public:
    Frame(int width, int height);
    ~Frame() override;

    Frame* getFrame() override { return this; }
    int width() const { return getRect().width(); }
    int height() const { return getRect().height(); }

    // Events in frame coordinates, as the window or a test delivers them.
    void mouseDown(const MouseEvent& event);
    void mouseMoved(const MouseEvent& event);
    void mouseUp(const MouseEvent& event);
    void wheel(const MouseEvent& event, float steps);
    void mouseExited();
    bool keyDown(const KeyEvent& event);
    // A key no focused view took: the frame's own shortcuts.
    virtual bool onShortcut(const KeyEvent& /*event*/) { return false; }

    // One modal view at a time: it gets every mouse event, also those outside it, until closed.
    void showModal(std::unique_ptr<View> view);
    // Closing from inside the modal view's own handler is safe: it is destroyed later.
    void closeModal();
    View* getModalView() const { return modal_.get(); }
    bool isModalOpen() const { return modal_ != nullptr; }

    // The view that receives keys; the previous one is told that it lost the focus.
    void setFocusView(View* view);
    View* getFocusView() const { return focus_; }
    View* getHoverView() const { return hover_; }

    void invalidRect(const Rect& rect);
    void invalidAll() { invalidRect(getRect()); }
    bool isDirty() const { return !dirty_.isEmpty(); }
    // The area waiting for a redraw, which is then no longer waiting.
    Rect takeDirtyArea();
    // Draws the given area of the tree (the modal view on top) into an image of the frame's size.
    void render(Image& target, const Rect& area);
    void renderAll(Image& target) { render(target, getRect()); }

    // Called before a view is destroyed: nothing keeps pointing into it.
    void forgetView(View* view);
    // Destroys modal views closed since the last call.
    void collectGarbage();

  private:
    View* targetAt(Point where);

    View* capture_ = nullptr;
    int captureButtons_ = 0;
    View* hover_ = nullptr;
    View* focus_ = nullptr;
    std::unique_ptr<View> modal_;
    std::vector<std::unique_ptr<View>> closedModals_;
    Rect dirty_;
};

}  // namespace kirra::gui
