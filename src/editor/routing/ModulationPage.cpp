#include "editor/routing/ModulationPage.h"

#include <memory>

#include "editor/CModuleParamDiscreet.h"
#include "editor/EditorLayout.h"
#include "editor/routing/CCordWnd.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

namespace {
constexpr int kPreviewNameWidth = 110;
}  // namespace

ModulationPage::ModulationPage(const gui::Rect& rect, gui::ControlListener* listener,
                               ValueTextSource& previewTexts, int previewMode, Plugin& plugin,
                               SlotEditing& editing)
    : ViewContainer(rect) {
    slots_ = addView(std::make_unique<CCordWnd>(layout::kModulationSlotArea, plugin, editing));
    auto preview = std::make_unique<CModuleParamDiscreet>(
        layout::kPreviewSelector, listener, kPreviewTag, "modulation preview", &previewTexts,
        kPreviewTag, param::kPreviewStates, param::kPreviewStates, kPreviewNameWidth);
    preview->setValue(indexToValue(previewMode, param::kPreviewStates));
    addView(std::move(preview));
}

void ModulationPage::refreshSlots() {
    slots_->refresh();
}

}  // namespace kirra::editor
