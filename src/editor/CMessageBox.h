#pragma once
// A modal box over the library page that tells something (one "OK") or asks once ("YES" and
// "NO"). Return answers yes, Escape or a click outside no.

#include <functional>
#include <string>

#include "gui/View.h"

namespace kirra::editor {

class CMessageBox : public gui::View {
  public:
    static constexpr int kHeight = 56;

    // With `onYes` the box asks; without it, it only tells.
    CMessageBox(const gui::Rect& rect, std::string text, std::function<void()> onYes = {});

    const std::string& getText() const { return text_; }
    bool isQuestion() const { return static_cast<bool>(onYes_); }
    gui::Rect yesRect() const;
    gui::Rect noRect() const;

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    bool onKeyDown(const gui::KeyEvent& event) override;

  private:
    void answer(bool yes);

    std::string text_;  // a '\n' starts its second line
    std::function<void()> onYes_;
};

}  // namespace kirra::editor
