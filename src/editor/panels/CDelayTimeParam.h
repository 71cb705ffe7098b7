#pragma once
// A delay time: milliseconds in time-based mode, a note name in tempo-based mode.

#include "editor/panels/CModeParam.h"

namespace kirra::editor {

class CDelayTimeParam : public CModeParam {
  public:
    using CModeParam::CModeParam;
    void setMode(int mode) { setGoverningChoice(mode); }
    int getMode() const { return getGoverningChoice(); }
};

}  // namespace kirra::editor
