#pragma once
// The LFO's rate: hertz ("%.2fHz") in Hz mode, the name of a note value in tempo mode.

#include "editor/panels/CModeParam.h"

namespace kirra::editor {

class CLFORateParam : public CModeParam {
  public:
    using CModeParam::CModeParam;
    void setMode(int mode) { setGoverningChoice(mode); }
    int getMode() const { return getGoverningChoice(); }
};

}  // namespace kirra::editor
