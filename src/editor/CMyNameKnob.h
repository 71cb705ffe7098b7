#pragma once
// An assignable knob: its 8-character name under it, or while the pointer is over it or it is
// being turned, its value ("%.1f" percent) or "UNUSED" when no modulation slot reads it. An
// unused knob sits at its lowest frame and ignores the mouse. A double click renames it, a
// control-click sets it to 0.5 when at 0 and to 0 otherwise.

#include <string>

#include "editor/CMyKnob.h"

namespace kirra::editor {

class CMyNameKnob : public CMyKnob {
  public:
    static constexpr int kNameLength = 8;

    CMyNameKnob(int x, gui::ControlListener* listener, int tag, gui::FilmStrip strip,
                KnobListener* knobListener, int knobNumber);

    const std::string& getName() const { return name_; }
    // Shown as given, cut to 8 characters; an empty name shows "KNOB%d".
    void setName(const std::string& name);
    bool isUsed() const { return used_; }
    void setUsed(bool used);
    bool isHovered() const { return hovered_; }

    void knobText(ModuleText& text) const override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    bool onWheel(const gui::MouseEvent& event, float steps) override;
    void onMouseEnter() override;
    void onMouseExit() override;
    std::string tooltip(gui::Point where) const override;
    // "KNOB1" and, when the user named it, the name: "KNOB1 CUTOFF".
    std::string fullName() const;

  protected:
    int currentFrame() const override { return used_ ? CMyKnob::currentFrame() : 0; }
    void entryCommitted(const std::string& entry) override;
    bool openEntry() override;
    bool isEditable() const override { return used_; }

  private:
    std::string name_;
    int knobNumber_;
    bool used_ = false;
    bool hovered_ = false;
};

}  // namespace kirra::editor
