#pragma once
// The type picker of the shown operator or modulator slot. Closed, it shows the type's short
// name (alternating with "NAME (BYPASSED)" while the module is bypassed) between two arrows that
// step to the previous or next type, greyed at the ends of the catalogue. A click on the name
// opens the whole catalogue as a modal list over the panel. The value is the type among 64.

#include "editor/BypassBlinking.h"
#include "gui/Control.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleText.h"

namespace kirra::editor {

class Skin;

class CModuleSelector : public BypassBlinking<gui::Control> {
  public:
    int getType() const;
    // The closed text: the short name padded to the width of the bypassed text, or the
    // bypassed text itself in the alternate blink phase.
    void displayText(ModuleText& text) const;
    gui::Rect leftArrowRect() const;
    gui::Rect rightArrowRect() const;

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    bool onWheel(const gui::MouseEvent& event, float steps) override;

  protected:
    CModuleSelector(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                    const Skin& skin, int menuBottom, int typeCount, const char* title,
                    const CatalogueEntry& (*catalogue)(int type));

  private:
    void selectType(int type);
    void openList();

    const Skin& skin_;
    int menuBottom_;
    int typeCount_;
    const char* title_;
    const CatalogueEntry& (*catalogue_)(int type);
};

class COPSelector : public CModuleSelector {
  public:
    COPSelector(const gui::Rect& rect, gui::ControlListener* listener, int tag, const Skin& skin,
                int menuBottom)
        : CModuleSelector(rect, listener, tag, skin, menuBottom, kOperatorTypeCount,
                          "SELECT OPERATOR TYPE", operatorCatalogue) {}
};

class CMODSelector : public CModuleSelector {
  public:
    CMODSelector(const gui::Rect& rect, gui::ControlListener* listener, int tag, const Skin& skin,
                 int menuBottom)
        : CModuleSelector(rect, listener, tag, skin, menuBottom, kModulatorTypeCount,
                          "SELECT MODULATOR TYPE", modulatorCatalogue) {}
};

}  // namespace kirra::editor
