#pragma once
// The caption "PREDEFINED ROUTINGS": a click opens the routings as diagrams; choosing routing r
// reports the value of entry r of 11, which the editor applies to the matrix.

#include <functional>

#include "gui/Control.h"

namespace kirra::editor {

class CMatrixCaption : public gui::Control {
  public:
    // `chooserArea`: where the modal grid of diagrams opens; `currentRouting` answers the
    // predefined routing the matrix now has, or -1.
    CMatrixCaption(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                   const gui::Rect& chooserArea, std::function<int()> currentRouting);
    // The page may be rebuilt while the grid is open (a host switching pages): the grid goes
    // with the caption it would report to.
    ~CMatrixCaption() override;

    void openChooser();
    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;

  private:
    gui::Rect chooserArea_;
    std::function<int()> currentRouting_;
    const gui::View* chooser_ = nullptr;  // compared, never followed
};

}  // namespace kirra::editor
