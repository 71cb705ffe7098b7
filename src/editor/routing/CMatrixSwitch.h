#pragma once
// A switch for one bit of a mask parameter that several switches share: its value is the whole
// mask, a click stores the mask with its bit flipped. Lit with its "on" text while the bit is set.

#include <string>

#include "gui/Control.h"

namespace kirra::editor {

class CMatrixSwitch : public gui::Control {
  public:
    bool isOn() const;
    int getBit() const { return bit_; }
    const std::string& shownText() const { return isOn() ? onText_ : offText_; }

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;

  protected:
    CMatrixSwitch(const gui::Rect& rect, gui::ControlListener* listener, int tag, int states,
                  int bit, std::string offText, std::string onText);

  private:
    int states_;
    int bit_;
    std::string offText_;
    std::string onText_;
};

// Mid/side coding of an operator's input (bits 0..3) or output (bits 4..7) in "OP_LR_MS".
class CMatrixMS : public CMatrixSwitch {
  public:
    CMatrixMS(const gui::Rect& rect, gui::ControlListener* listener, int tag, int bit);
};

// Phase inversion of an operator's output, one bit of "OP_Inv".
class CMatrixInv : public CMatrixSwitch {
  public:
    CMatrixInv(const gui::Rect& rect, gui::ControlListener* listener, int tag, int bit);
};

}  // namespace kirra::editor
