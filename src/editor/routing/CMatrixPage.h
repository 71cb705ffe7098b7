#pragma once
// The two tabs of the signal-path page, "CONNECTIONS" and "CONFIGURATION": the shown one is lit,
// and a click anywhere on them switches to the other.

#include "gui/Control.h"

namespace kirra::editor {

class CMatrixPage : public gui::Control {
  public:
    static constexpr int kConnections = 0;
    static constexpr int kConfiguration = 1;
    static constexpr int kViews = 2;

    CMatrixPage(const gui::Rect& rect, gui::ControlListener* listener, int tag, int view);

    int getView() const;
    gui::Rect tabRect(int view) const;

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
};

}  // namespace kirra::editor
