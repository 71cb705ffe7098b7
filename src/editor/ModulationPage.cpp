#include "editor/ModulationPage.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "editor/CCaption.h"
#include "editor/CModuleParamDiscreet.h"
#include "editor/EditorLayout.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

using gui::Rect;

ModulationPage::ModulationPage(const Rect& rect, gui::ControlListener* listener,
                               ValueTextSource& previewTexts, int previewMode,
                               std::function<std::string(int index)> slotText)
    : ViewContainer(rect), slotText_(std::move(slotText)) {
    const Rect& slots = layout::kModulationSlotArea;
    addView(std::make_unique<CCaption>(
        Rect{slots.left + 2, slots.top, slots.right - 2, slots.top + 12}, "MODULATION SLOTS"));
    int middle = (slots.left + slots.right) / 2;
    columns_[0] = addView(
        std::make_unique<CText>(Rect{slots.left + 2, slots.top + 16, middle - 2, slots.bottom},
                                std::vector<std::string>{}));
    columns_[1] = addView(
        std::make_unique<CText>(Rect{middle + 2, slots.top + 16, slots.right - 2, slots.bottom},
                                std::vector<std::string>{}));
    auto preview = std::make_unique<CModuleParamDiscreet>(
        layout::kPreviewSelector, listener, kPreviewTag, "modulation preview", &previewTexts,
        kPreviewTag, param::kPreviewStates, param::kPreviewStates, 110);
    preview->setValue(indexToValue(previewMode, param::kPreviewStates));
    addView(std::move(preview));
    refreshSlots();
}

void ModulationPage::refreshSlots() {
    std::vector<std::string> lines[2];
    for (int slot = 0; slot < param::kModulationSlots; ++slot) {
        char line[96];
        std::snprintf(line, sizeof(line), "%02d %s>%s %s", slot + 1,
                      slotText_(param::kSlotSource1 + slot).c_str(),
                      slotText_(param::kSlotDestination1 + slot).c_str(),
                      slotText_(param::kSlotSensitivity1 + slot).c_str());
        lines[slot / 8].emplace_back(line);
    }
    columns_[0]->setLines(std::move(lines[0]));
    columns_[1]->setLines(std::move(lines[1]));
}

}  // namespace kirra::editor
