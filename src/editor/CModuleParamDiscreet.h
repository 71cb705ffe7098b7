#pragma once
// A stepped parameter: its name and the text of the current choice. A left click selects the
// next available choice (after the last it wraps to the first), a right click the previous one
// (before the first it wraps to the last available).

#include <string>
#include "editor/ValueTextSource.h"

#include "gui/Control.h"

namespace kirra::editor {

class CModuleParamDiscreet : public gui::Control {
  public:
    // `states` the parameter's number of states, of which the first `available` are offered.
    CModuleParamDiscreet(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                         const char* name, ValueTextSource* source, int position, int states,
                         int available, int nameWidth);

    int getChoice() const;
    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    bool onWheel(const gui::MouseEvent& event, float steps) override;
    std::string tooltip(gui::Point where) const override;

  protected:
    // Keys step through the offered choices without wrapping.
    void stepBy(int steps, bool fine) override;
    void stepToEnd(bool highest) override;

  private:
    std::string choiceText() const;
    void select(int choice);

    char name_[64];
    ValueTextSource* source_;
    int position_;
    int states_;
    int available_;
    int nameWidth_;
};

}  // namespace kirra::editor
