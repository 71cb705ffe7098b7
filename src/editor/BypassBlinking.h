#pragma once
// A control of a slot that shows the slot's bypass: a bypassed module's button, type picker and
// matrix block blink together with the editor's blink phase.

#include "editor/BlinkPhase.h"

namespace kirra::editor {

template <typename Control>
class BypassBlinking : public Control {
  public:
    using Control::Control;

    void setBypassed(bool bypassed) {
        if (bypassed == bypassed_) return;
        bypassed_ = bypassed;
        this->invalid();
    }
    bool isBypassed() const { return bypassed_; }
    void setBlinkPhase(int phase) {
        const bool before = isBlinkAlternate();
        blinkPhase_ = phase;
        if (isBlinkAlternate() != before) this->invalid();
    }
    // True while a bypassed control shows the alternate look of its blink.
    bool isBlinkAlternate() const { return bypassed_ && editor::isBlinkAlternate(blinkPhase_); }

  private:
    bool bypassed_ = false;
    int blinkPhase_ = 0;
};

}  // namespace kirra::editor
