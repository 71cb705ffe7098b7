#pragma once
// The main knobs "Input", "Mix" and "Output" (and the base of the assignable knobs): a film-strip
// knob with its value text underneath. A drag turns it (200 pixels for the full range, 1000 with
// shift), a right click starts MIDI learn, a double click opens typed entry on the value, a
// control-click sets the default. While modulation drives it an arc runs around the knob from the
// base value to the modulated one (a second, thinner arc for the right channel where it
// differs), and hovering names the slots under the knob.

#include "editor/KnobListener.h"
#include "editor/ModulationShown.h"
#include "gui/Knob.h"
#include "gui/LineEditor.h"
#include "modules/ModuleText.h"

namespace kirra::editor {

class CMyKnob : public ShowsModulation<gui::Knob> {
  public:
    // `x` is the knob's left edge; the control also covers the text line under it.
    CMyKnob(int x, gui::ControlListener* listener, int tag, gui::FilmStrip strip,
            KnobListener* knobListener);

    gui::Rect knobRect() const;
    gui::Rect textRect() const;
    // While learning, the knob alternates between shown and dimmed.
    void setBlinkDimmed(bool dimmed);
    bool isBlinkDimmed() const { return blinkDimmed_; }
    bool isEntering() const { return entry_.isActive(); }
    // The text under the knob.
    virtual void knobText(ModuleText& text) const;

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    bool onKeyDown(const gui::KeyEvent& event) override;
    void onFocusLost() override;
    std::string tooltip(gui::Point where) const override;

  protected:
    void startEntry(const std::string& initial, int maxLength);
    // The typed text, committed.
    virtual void entryCommitted(const std::string& entry);
    // Return types a value, as a double click does.
    bool openEntry() override;

    KnobListener* knobListener_;

  private:
    void endEntry(bool commit);
    void drawModulation(gui::DrawContext& context);

    gui::LineEditor entry_;
    bool blinkDimmed_ = false;
};

}  // namespace kirra::editor
