#include "editor/panels/PitchPanel.h"

#include <iterator>

#include "operators/effects/Pitch.h"

namespace kirra::editor {

namespace {

constexpr int kResolutions = 3;
const PanelControl kControls[] = {
    {Pitch::kSemitones, 0, 0, 0, 0},
    {Pitch::kCents, 1, 0, 0, 0},
    {Pitch::kTune, 0, 1, 0, 0},
    {Pitch::kResolution, 1, 1, kResolutions, 0},
};

}  // namespace

PitchPanel::PitchPanel(const gui::Rect& rect, const PanelContext& context, int type)
    : ControlsPanel(rect, context, type, kControls, static_cast<int>(std::size(kControls))) {}

}  // namespace kirra::editor
