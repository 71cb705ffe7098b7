#pragma once
// The step sequencer's "state": a click toggles "stopped" and "running"; in song-position mode
// the sequence follows the host and the field reads "songpos" whatever the state.

#include "editor/CModuleParamDiscreet.h"

namespace kirra::editor {

class CSTEPStateParam : public CModuleParamDiscreet {
  public:
    using CModuleParamDiscreet::CModuleParamDiscreet;

    // The sequencer's mode; its text follows it.
    void setMode(int mode) {
        if (mode == mode_) return;
        mode_ = mode;
        invalid();
    }
    int getMode() const { return mode_; }

  private:
    int mode_ = 0;
};

}  // namespace kirra::editor
