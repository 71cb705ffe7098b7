#pragma once
// The panel of the module in a slot, as plain value fields: one per used parameter, with the
// module's captions and texts, in up to three columns. Each field carries the internal parameter
// index as its tag.

#include <memory>
#include <vector>

#include "editor/CModuleParam.h"
#include "editor/ModuleAccess.h"
#include "gui/ViewContainer.h"

namespace kirra::editor {

class ModulePanel : public gui::ViewContainer {
  public:
    static constexpr int kRowHeight = 11;

    ModulePanel(const gui::Rect& rect, gui::ControlListener* listener,
                std::unique_ptr<ModuleAccess> access);

    ModuleAccess& access() { return *access_; }
    // The field of an internal parameter index, or null.
    CModuleParam* fieldFor(int index) const;
    const std::vector<CModuleParam*>& fields() const { return fields_; }
    // Texts may depend on other positions (a mode switching units), so all are asked again.
    void refreshTexts();
    void draw(gui::DrawContext& context) override;

  private:
    std::unique_ptr<ModuleAccess> access_;
    std::vector<CModuleParam*> fields_;
};

}  // namespace kirra::editor
