#pragma once
// Main page 3: the sixteen modulation slots (source, destination and sensitivity as the plug-in
// names them) and the modulation-preview choice.

#include <functional>
#include <string>

#include "editor/ValueTextSource.h"
#include "gui/Control.h"
#include "gui/ViewContainer.h"

namespace kirra::editor {

class CText;

class ModulationPage : public gui::ViewContainer {
  public:
    static constexpr int kPreviewTag = 436;

    // `slotText` gives the text of a slot parameter (source, destination or sensitivity).
    ModulationPage(const gui::Rect& rect, gui::ControlListener* listener,
                   ValueTextSource& previewTexts, int previewMode,
                   std::function<std::string(int index)> slotText);
    // Reads the slots again.
    void refreshSlots();

  private:
    std::function<std::string(int index)> slotText_;
    CText* columns_[2];
};

}  // namespace kirra::editor
