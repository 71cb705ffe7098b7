#pragma once
// A modal list of text lines under an optional title: a click on a line chooses it and closes
// the list, a click outside closes it unchanged. Longer lists scroll with the wheel, with arrow
// buttons and a thumb in a bar on the right.

#include <functional>
#include <string>
#include <vector>

#include "gui/ScrollBar.h"
#include "gui/View.h"

namespace kirra::gui {

struct ListMenuStyle {
    Font font;
    int lineHeight = 10;
    Color text{210, 217, 223};
    Color greyed{127, 135, 138};  // scroll arrows at an end
    Color background{44, 53, 52};
    Color highlight{210, 217, 223};  // the chosen line is drawn inverted
    Color border{210, 217, 223};
};

class ListMenu : public View {
  public:
    // `onChoice` gets the index of the line clicked; it is not called when the list closes
    // unchanged. The view fills `rect`; the lines start under the title, if any.
    ListMenu(const Rect& rect, std::string title, std::vector<std::string> lines, int selected,
             ListMenuStyle style, std::function<void(int)> onChoice);

    int getFirstVisible() const { return scroll_.first(); }
    int getVisibleLines() const;
    bool hasScrollBar() const { return scroll_.isNeeded(); }
    const ScrollBar& scrollBar() const { return scroll_; }
    // The first line shown, limited so that the list stays full.
    void scrollTo(int first);
    Rect lineRect(int visibleIndex) const;

    void draw(DrawContext& context) override;
    bool onMouseDown(const MouseEvent& event) override;
    void onMouseMoved(const MouseEvent& event) override;
    void onMouseUp(const MouseEvent& event) override;
    bool onWheel(const MouseEvent& event, float steps) override;

  private:
    Rect listArea() const;
    void choose(int line);
    void close();

    std::string title_;
    std::vector<std::string> lines_;
    int selected_;
    ListMenuStyle style_;
    std::function<void(int)> onChoice_;
    ScrollBar scroll_;
    int hover_ = -1;
};

}  // namespace kirra::gui
