#pragma once
// Where the desktop offers no file dialog: a modal box over the library page with the dialog's
// title and a line to type a path into. Return hands the path on, Escape or a click outside
// closes it unchanged.

#include <functional>
#include <string>

#include "gui/LineEditor.h"
#include "gui/View.h"

namespace kirra::editor {

class CPathField : public gui::View {
  public:
    static constexpr int kMaxPathLength = 1024;

    CPathField(const gui::Rect& rect, std::string title, const std::string& initialPath,
               std::function<void(const std::string&)> onPath);

    const std::string& getEntry() const { return entry_.text(); }
    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    bool onKeyDown(const gui::KeyEvent& event) override;

  private:
    void close();

    std::string title_;
    gui::LineEditor entry_;
    std::function<void(const std::string&)> onPath_;
};

}  // namespace kirra::editor
