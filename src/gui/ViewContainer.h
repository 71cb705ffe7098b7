#pragma once
// A view that owns child views, draws them in the order added and hands events to the topmost
// child under the pointer.

#include <memory>
#include <utility>
#include <vector>

#include "gui/View.h"

namespace kirra::gui {

class Control;

class ViewContainer : public View {
  public:
    explicit ViewContainer(const Rect& rect) : View(rect) {}
    ~ViewContainer() override;

    // Takes ownership and answers the view for the caller to keep as a reference.
    template <typename ViewType>
    ViewType* addView(std::unique_ptr<ViewType> view) {
        ViewType* raw = view.get();
        adopt(std::move(view));
        return raw;
    }
    // Destroys a child; the frame forgets everything that pointed into it.
    void removeView(View* view);
    void removeAll();
    int getChildCount() const { return static_cast<int>(children_.size()); }
    View* getChild(int index) const { return children_[index].get(); }

    // The first control with this tag in the subtree, or null.
    Control* findControl(int tag) const;

    void setBackground(Color color) {
        background_ = color;
        hasBackground_ = true;
    }

    void draw(DrawContext& context) override;
    void drawRect(DrawContext& context, const Rect& area) override;
    View* hitTest(Point where) override;

  private:
    void adopt(std::unique_ptr<View> view);

    std::vector<std::unique_ptr<View>> children_;
    Color background_;
    bool hasBackground_ = false;
};

}  // namespace kirra::gui
