#pragma once
// The root of a view tree: receives the window's events and routes them (mouse capture, hover,
// keyboard focus, one modal view above everything), shows the pointer's help once the pointer
// rests, collects the areas to redraw and renders any part of the tree into an image. Views and
// events are in 100 % pixels; the frame's zoom says how large a window or image shows it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/ViewContainer.h"

namespace kirra::gui {

class Image;

struct TooltipStyle {
    Font font;
    Color text{210, 217, 223};
    Color background{22, 27, 27};
    Color border{210, 217, 223};
};

class Frame : public ViewContainer, private TextObserver {
  public:
    static constexpr int kTooltipDelayMs = 500;

    Frame(int width, int height);
    ~Frame() override;

    Frame* getFrame() override { return this; }
    int width() const { return getRect().width(); }
    int height() const { return getRect().height(); }
    // 1.0 is 100 %.
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    int deviceWidth() const { return toDevice(width(), zoom_); }
    int deviceHeight() const { return toDevice(height(), zoom_); }

    // Events in frame coordinates, as the window or a test delivers them.
    void mouseDown(const MouseEvent& event);
    void mouseMoved(const MouseEvent& event);
    void mouseUp(const MouseEvent& event);
    void wheel(const MouseEvent& event, float steps);
    void mouseExited();
    bool keyDown(const KeyEvent& event);
    // A key no focused view took: the frame's own shortcuts.
    virtual bool onShortcut(const KeyEvent& /*event*/) { return false; }
    // The window's clock, every few milliseconds: the pointer's help shows once the pointer has
    // rested on a view for kTooltipDelayMs.
    void tick(int64_t nowMs);

    // The pointer's help: the full text of a cut text under the pointer and what the view says.
    bool isTooltipShown() const { return !tooltip_.empty(); }
    const std::string& tooltipText() const { return tooltip_; }
    const Rect& tooltipRect() const { return tooltipRect_; }
    void setTooltipStyle(const TooltipStyle& style) { tooltipStyle_ = style; }
    void hideTooltip();
    // The whole text of a text drawn cut (with an ellipsis) at the point, or empty.
    std::string cutTextAt(Point where) const;
    // Also told every text drawn (tests).
    void setTextRecorder(TextObserver* recorder) { recorder_ = recorder; }

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
    // Draws the given area of the tree (the modal view and the pointer's help on top) into an
    // image of the frame's size at the image's scale.
    void render(Image& target, const Rect& area);
    void renderAll(Image& target) { render(target, getRect()); }

    // Called before a view is destroyed: nothing keeps pointing into it.
    void forgetView(View* view);
    // Destroys modal views closed since the last call.
    void collectGarbage();

  private:
    struct CutText {
        const View* view;
        Rect box;
        std::string text;
    };

    View* targetAt(Point where);
    void showTooltip();
    void drawTooltip(DrawContext& context);
    void viewDrawing(const View* view) override;
    void textDrawn(const TextDrawn& text) override;

    View* capture_ = nullptr;
    int captureButtons_ = 0;
    View* hover_ = nullptr;
    View* focus_ = nullptr;
    std::unique_ptr<View> modal_;
    std::vector<std::unique_ptr<View>> closedModals_;
    Rect dirty_;
    double zoom_ = 1.0;

    // pointer's help
    Point pointer_;
    bool pointerMoved_ = false;
    bool pointerInside_ = false;
    int64_t restSinceMs_ = 0;
    std::string tooltip_;
    Rect tooltipRect_;
    TooltipStyle tooltipStyle_;
    std::vector<CutText> cutTexts_;
    TextObserver* recorder_ = nullptr;
};

}  // namespace kirra::gui
