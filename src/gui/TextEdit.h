#pragma once
// A control with a line of text that can be typed into: entry starts on request (a double click,
// for example) and ends with Return or by clicking elsewhere (both commit) or Escape (cancels).

#include <string>

#include "gui/Control.h"
#include "gui/LineEditor.h"

namespace kirra::gui {

struct TextStyle {
    Font font;
    Color text{210, 217, 223};
    Color entryText{44, 53, 52};
    Color entryBackground{210, 217, 223};
};

class TextEdit : public Control {
  public:
    static constexpr int kDefaultMaxLength = 64;

    TextEdit(const Rect& rect, ControlListener* listener, int tag) : Control(rect, listener, tag) {}

    const std::string& getText() const { return text_; }
    void setText(const std::string& text);
    void setStyle(const TextStyle& style) { style_ = style; }
    const TextStyle& getStyle() const { return style_; }

    // Typing: the entry starts with a text, all of it replaced by the first key typed.
    void startEntry(const std::string& initial, int maxLength = kDefaultMaxLength);
    bool isEntering() const { return editor_.isActive(); }
    const std::string& getEntry() const { return editor_.text(); }
    void commitEntry();
    void cancelEntry();

    bool onKeyDown(const KeyEvent& event) override;
    void onFocusLost() override;
    void draw(DrawContext& context) override;

  protected:
    // The typed text when the entry is committed; by default it becomes the text.
    virtual void entryCommitted(const std::string& entry);
    // Where the entry box is drawn.
    virtual Rect entryBox() const { return getRect(); }
    void drawEntry(DrawContext& context) const;

  private:
    void releaseFocus();

    std::string text_;
    LineEditor editor_;
    TextStyle style_;
};

}  // namespace kirra::gui
