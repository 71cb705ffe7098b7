#pragma once
// Typing into one line of text: printable ASCII up to a length limit, caret movement, deletion;
// the whole initial text is replaced by the first character typed. Return commits, Escape
// cancels. Used by text edits and by controls that offer typed entry on a double click.

#include <string>

#include "gui/DrawContext.h"
#include "gui/Events.h"

namespace kirra::gui {

class LineEditor {
  public:
    enum class Result { kEditing, kCommit, kCancel };

    void start(const std::string& initial, int maxLength);
    void stop() { active_ = false; }
    bool isActive() const { return active_; }
    const std::string& text() const { return text_; }
    Result handleKey(const KeyEvent& event);
    // An edit box with the text, the caret and, before the first key, the text selected.
    void draw(DrawContext& context, const Rect& box, const Font& font, Color textColor,
              Color background) const;

  private:
    std::string text_;
    int caret_ = 0;
    int maxLength_ = 0;
    bool active_ = false;
    bool replaceAll_ = false;
};

}  // namespace kirra::gui
