#pragma once
// Main page 3: the modulation-slot window and, under it, the modulation-preview choice (off,
// left, right) that makes the module plots follow the modulated values.

#include "editor/ValueTextSource.h"
#include "engine/ParameterIndex.h"
#include "gui/Control.h"
#include "gui/ViewContainer.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

class CCordWnd;
class SlotEditing;

class ModulationPage : public gui::ViewContainer {
  public:
    static constexpr int kPreviewTag = param::kModulationPreview;

    ModulationPage(const gui::Rect& rect, gui::ControlListener* listener,
                   ValueTextSource& previewTexts, int previewMode, Plugin& plugin,
                   SlotEditing& editing);

    CCordWnd* slotWindow() const { return slots_; }
    // Reads the slots again.
    void refreshSlots();

  private:
    CCordWnd* slots_ = nullptr;
};

}  // namespace kirra::editor
