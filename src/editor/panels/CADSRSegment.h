#pragma once
// One of the ADSR's five times (delay, attack, hold, decay, release): milliseconds or seconds in
// absolute mode, the name of a tempo division in tempo mode.

#include "editor/panels/CModeParam.h"

namespace kirra::editor {

class CADSRSegment : public CModeParam {
  public:
    using CModeParam::CModeParam;
    void setMode(int mode) { setGoverningChoice(mode); }
    int getMode() const { return getGoverningChoice(); }
};

}  // namespace kirra::editor
