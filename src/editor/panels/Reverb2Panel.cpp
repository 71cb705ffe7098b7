#include "editor/panels/Reverb2Panel.h"

#include <iterator>

#include "operators/effects/Reverb2.h"

namespace kirra::editor {

namespace {

constexpr int kPredelayModes = 2;
const PanelControl kControls[] = {
    {Reverb2::kTime, 0, 0, 0, 0},
    {Reverb2::kDamping, 1, 0, 0, 0},
    {Reverb2::kAmount, 0, 1, 0, 0},
    {Reverb2::kType, 1, 1, Reverb2::kTypeStates, Reverb2::kAlgorithmCount},
    {Reverb2::kPredelayMode, 0, 2, kPredelayModes, 0},
    {Reverb2::kPredelay, 1, 2, 0, 0},
};

}  // namespace

Reverb2Panel::Reverb2Panel(const gui::Rect& rect, const PanelContext& context, int type)
    : ControlsPanel(rect, context, type, kControls, static_cast<int>(std::size(kControls))) {
    auto* predelay = static_cast<CModuleParam*>(controlAt(Reverb2::kPredelay));
    follow(Reverb2::kPredelayMode, [predelay](float) { predelay->refreshText(); });
}

}  // namespace kirra::editor
