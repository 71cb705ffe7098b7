#pragma once
// A value field: the parameter's name on the left, its value text on the right. A vertical drag
// changes the value (full range over 400 pixels, 2000 with shift), the wheel by 0.01 a step
// (0.001 with shift), a double click opens typed entry on the value, a control-click sets the
// default. Texts come from the owning module (or a subclass's own conversion). While modulation
// drives the parameter a band under the value runs from the base value to the modulated one
// (a second marker for the right channel where it differs), and hovering names the slots.

#include "editor/ModulationShown.h"
#include "editor/ValueTextSource.h"
#include "gui/TextEdit.h"
#include "gui/VerticalDrag.h"

namespace kirra::editor {

class CModuleParam : public ShowsModulation<gui::TextEdit> {
  public:
    static constexpr int kMaxNameLength = 64;
    static constexpr int kDragPixels = 400;
    static constexpr int kFineDragPixels = 2000;
    static constexpr float kWheelStep = 0.01f;
    static constexpr float kFineWheelStep = 0.001f;

    // The name takes `nameWidth` pixels on the left, the value the rest. A null name shows as
    // "no name!".
    CModuleParam(const gui::Rect& rect, gui::ControlListener* listener, int tag, const char* name,
                 ValueTextSource* source, int position, int nameWidth);

    const char* getName() const { return name_; }
    int getPosition() const { return position_; }
    bool isDragging() const { return drag_.isActive(); }
    void setValue(float value) override;
    // Asks the text source again (another parameter may change how this one reads).
    void refreshText();
    // A locked field shows its value greyed with a lock, takes no edits, and tells why.
    void setLocked(bool locked, const char* reason);
    bool isLocked() const { return locked_; }
    std::string tooltip(gui::Point where) const override;

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    void onMouseMoved(const gui::MouseEvent& event) override;
    void onMouseUp(const gui::MouseEvent& event) override;
    bool onWheel(const gui::MouseEvent& event, float steps) override;

  protected:
    virtual void valueToText(float value, ModuleText& text);
    virtual float textToValue(const char* text);
    // The value at the pointer during a drag (by default the vertical distance from its start).
    virtual float draggedValue(const gui::MouseEvent& event);
    void entryCommitted(const std::string& entry) override;
    gui::Rect entryBox() const override { return valueRect_; }
    void setEditing(bool editing);
    bool openEntry() override;
    bool isEditable() const override { return !locked_; }

    void drawLocked(gui::DrawContext& context) const;

    gui::Rect nameRect_;
    gui::Rect valueRect_;

  private:
    char name_[kMaxNameLength + 1];
    ValueTextSource* source_;
    int position_;
    gui::VerticalDrag drag_;
    bool locked_ = false;
    const char* lockReason_ = "";
};

}  // namespace kirra::editor
