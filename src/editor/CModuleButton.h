#pragma once
// Selects an operator or modulator slot: "on" while its slot is the one shown. A bypassed
// module's button blinks with the editor's blink phase; a right click toggles the bypass where
// the button has a slot to bypass.

#include <functional>
#include <string>

#include "editor/BypassBlinking.h"
#include "gui/OnOffButton.h"

namespace kirra::editor {

class CModuleButton : public BypassBlinking<gui::OnOffButton> {
  public:
    CModuleButton(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                  gui::FilmStrip strip, std::string label);

    void draw(gui::DrawContext& context) override;
    // A click selects the slot; clicking the shown slot again changes nothing.
    bool onMouseDown(const gui::MouseEvent& event) override;
    void setRightClick(std::function<void()> action) { rightClick_ = std::move(action); }
    // The slot's module or the page it shows.
    std::string tooltip(gui::Point where) const override;

  private:
    std::string label_;
    std::function<void()> rightClick_;
};

}  // namespace kirra::editor
