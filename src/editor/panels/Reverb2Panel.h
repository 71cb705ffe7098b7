#pragma once
// The reverb's panel: time, damping, amount, the algorithm, and the predelay, whose text is in
// milliseconds or a note value by its mode.

#include "editor/panels/ControlsPanel.h"

namespace kirra::editor {

class Reverb2Panel : public ControlsPanel {
  public:
    Reverb2Panel(const gui::Rect& rect, const PanelContext& context, int type);
};

}  // namespace kirra::editor
