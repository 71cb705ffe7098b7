#pragma once
// A modal box over the library page with a title, a hint of one or two lines and a line to type
// into: a path where the desktop offers no file dialog, or a preset's name. Return hands the
// text on, Escape or a click outside closes it unchanged.

#include <functional>
#include <string>

#include "gui/LineEditor.h"
#include "gui/View.h"

namespace kirra::editor {

class CPathField : public gui::View {
  public:
    static constexpr int kMaxPathLength = 1024;
    // Title, two hint lines, the entry and the keys' help.
    static constexpr int kHeight = 70;

    struct Texts {
        std::string title;
        std::string hint;  // a '\n' starts its second line
        std::string initial;
        int maxLength = kMaxPathLength;
    };

    CPathField(const gui::Rect& rect, const Texts& texts,
               std::function<void(const std::string&)> onEnter);

    const std::string& getEntry() const { return entry_.text(); }
    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    bool onKeyDown(const gui::KeyEvent& event) override;

  private:
    void close();

    std::string title_;
    std::string hint_;
    gui::LineEditor entry_;
    std::function<void(const std::string&)> onEnter_;
};

}  // namespace kirra::editor
