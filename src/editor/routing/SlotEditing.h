#pragma once
// What the modulation-slot window asks of the editor: parameter changes (the editor decides
// whether the host records them), the edit gestures around a drag, and controller learn for a
// slot's source.

namespace kirra::editor {

class SlotEditing {
  public:
    virtual void beginEdit(int index) = 0;
    virtual void editParameter(int index, float value) = 0;
    virtual void endEdit(int index) = 0;
    // The next controller message that arrives becomes the slot's source; -1 stops waiting.
    virtual void learnSlotSource(int slot) = 0;
    // The slot waiting for a controller, or -1.
    virtual int getLearningSlot() const = 0;

  protected:
    ~SlotEditing() = default;
};

}  // namespace kirra::editor
