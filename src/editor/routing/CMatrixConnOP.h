#pragma once
// An operator on the diagonal of the matrix: a block labelled "OP1".."OP4" that edits the
// operator's feedback onto itself. While the pointer is over it, or it is being edited, it shows
// that gain like any connection. A bypassed operator's block blinks with the editor's blink
// phase.

#include "editor/BypassBlinking.h"
#include "editor/routing/CMatrixConn.h"

namespace kirra::editor {

class CMatrixConnOP : public BypassBlinking<CMatrixConn> {
  public:
    CMatrixConnOP(const gui::Rect& rect, gui::ControlListener* listener, int tag, int op);

    bool isShowingValue() const;

    void draw(gui::DrawContext& context) override;
    void onMouseEnter() override;
    void onMouseExit() override;

  private:
    int op_;
    bool hovered_ = false;
};

}  // namespace kirra::editor
