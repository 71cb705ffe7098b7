#pragma once
// A control with a line of text that can be typed into: entry starts on request (a double click,
// for example), takes printable characters up to a length limit, ends with Return or by clicking
// elsewhere (both commit) or Escape (cancels).

#include <string>

#include "gui/Control.h"

namespace kirra::gui {

class TextEdit : public Control {
  public:
    static constexpr int kDefaultMaxLength = 64;

    TextEdit(const Rect& rect, ControlListener* listener, int tag) : Control(rect, listener, tag) {}

    const std::string& getText() const { return text_; }
    void setText(const std::string& text);
    void setMaxLength(int length) { maxLength_ = length; }

    // Typing: the entry starts with a text, all of it replaced by the first key typed.
    void startEntry(const std::string& initial);
    bool isEntering() const { return entering_; }
    const std::string& getEntry() const { return entry_; }
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
    void drawEntry(DrawContext& context, const Font& font, Color text, Color background);

  private:
    std::string text_;
    std::string entry_;
    int caret_ = 0;
    bool entering_ = false;
    bool replaceAll_ = false;
    int maxLength_ = kDefaultMaxLength;
};

}  // namespace kirra::gui
