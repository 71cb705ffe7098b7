#pragma once
// A view with a normalised value 0..1 and an integer tag that reports the user's changes to a
// listener. Values set from outside (the plug-in) are shown without being reported back.

#include "gui/View.h"

namespace kirra::gui {

class Control;

class ControlListener {
  public:
    virtual void valueChanged(Control* control) = 0;
    // A gesture (a drag) starts and ends; hosts group the changes in between.
    virtual void beginEdit(int /*tag*/) {}
    virtual void endEdit(int /*tag*/) {}

  protected:
    ~ControlListener() = default;
};

class Control : public View {
  public:
    Control(const Rect& rect, ControlListener* listener, int tag)
        : View(rect), listener_(listener), tag_(tag) {}

    int getTag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    float getValue() const { return value_; }
    // Stores a value (limited to 0..1, anything not a number as 0) and redraws when it changed.
    virtual void setValue(float value);
    float getDefaultValue() const { return defaultValue_; }
    void setDefaultValue(float value) { defaultValue_ = value; }
    ControlListener* getListener() const { return listener_; }
    void setListener(ControlListener* listener) { listener_ = listener; }

    // The keys of the control under the pointer: the arrows a step (a fine step with shift),
    // Page Up and Down ten steps, Home and End the ends of the range, Return typed entry where
    // the control offers it. Each key is one gesture for the host.
    bool onKeyDown(const KeyEvent& event) override;

  protected:
    // Moves the value by steps; by default 0.01 a step (0.001 fine), as the wheel does.
    virtual void stepBy(int steps, bool fine);
    // Sets the lowest (false) or highest (true) value.
    virtual void stepToEnd(bool highest);
    // Opens typed entry on Return; false where the control has none.
    virtual bool openEntry() { return false; }
    // Whether the keys and gestures change anything now (a locked field does not).
    virtual bool isEditable() const { return true; }

    // The user changed the value: store it and tell the listener.
    void changeValue(float value);
    void beginEdit();
    void endEdit();

  private:
    ControlListener* listener_;
    int tag_;
    float value_ = 0.0f;
    float defaultValue_ = 0.0f;
};

}  // namespace kirra::gui
