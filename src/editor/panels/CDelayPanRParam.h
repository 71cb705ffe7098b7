#pragma once
// The delay's "pan R": a value of 0 keeps the right echo on the right and higher values move it
// to the left, so the field drags the other way round: the value falls as the pointer moves right
// or up (full range over 400 pixels of movement, 2000 with shift).

#include "editor/CModuleParam.h"

namespace kirra::editor {

class CDelayPanRParam : public CModuleParam {
  public:
    using CModuleParam::CModuleParam;

    bool onMouseDown(const gui::MouseEvent& event) override;

  protected:
    float draggedValue(const gui::MouseEvent& event) override;

  private:
    void anchor(const gui::MouseEvent& event);

    gui::Point anchorPoint_;
    float anchorValue_ = 0.0f;
    int anchorModifiers_ = 0;
};

}  // namespace kirra::editor
