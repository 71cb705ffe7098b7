#pragma once
// A value field whose text depends on the choice of another parameter of its module: a time in
// milliseconds or as a note value by a mode switch, a Q by a band's shape, a ratio by a curve
// type. The panel hands it that choice, its mode, as it changes; the field then asks for its
// text again.

#include "editor/CModuleParam.h"

namespace kirra::editor {

class CModeParam : public CModuleParam {
  public:
    using CModuleParam::CModuleParam;

    void setMode(int mode) {
        if (mode == mode_) return;
        mode_ = mode;
        refreshText();
    }
    int getMode() const { return mode_; }

  private:
    int mode_ = -1;
};

// The LFO's rate: hertz in Hz mode, the name of a note value in tempo mode.
using CLFORateParam = CModeParam;
// One of the ADSR's five times: milliseconds or seconds in absolute mode, a tempo division in
// tempo mode.
using CADSRSegment = CModeParam;
// A delay time: milliseconds in time-based mode, a note name in tempo-based mode.
using CDelayTimeParam = CModeParam;
// An equalizer band's Q, whose range and text follow the band's shape.
using CEQQ = CModeParam;
// The compressor/expander's ratio, a compression or an expansion ratio by the curve type.
using CCompExpRatioParam = CModeParam;

}  // namespace kirra::editor
