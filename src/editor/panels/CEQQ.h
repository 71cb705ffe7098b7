#pragma once
// An equalizer band's Q, whose range and text follow the band's shape (shelves and peaking map
// the value differently).

#include "editor/panels/CModeParam.h"

namespace kirra::editor {

class CEQQ : public CModeParam {
  public:
    using CModeParam::CModeParam;
    void setShape(int shape) { setGoverningChoice(shape); }
    int getShape() const { return getGoverningChoice(); }
};

}  // namespace kirra::editor
