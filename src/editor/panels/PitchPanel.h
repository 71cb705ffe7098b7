#pragma once
// The pitch shifter's panel: semitones, cents and tune, and the frame size.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class PitchPanel : public ControlsPanel {
  public:
    PitchPanel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
