#pragma once
// A page caption (bold, with a fine rule under it) and a block of plain text lines.

#include <string>
#include <vector>

#include "gui/View.h"

namespace kirra::editor {

class CCaption : public gui::View {
  public:
    CCaption(const gui::Rect& rect, std::string text) : View(rect), text_(std::move(text)) {}
    const std::string& getText() const { return text_; }
    void draw(gui::DrawContext& context) override;

  private:
    std::string text_;
};

class CText : public gui::View {
  public:
    static constexpr int kLineHeight = 10;

    CText(const gui::Rect& rect, std::vector<std::string> lines)
        : View(rect), lines_(std::move(lines)) {}
    void setLines(std::vector<std::string> lines);
    const std::vector<std::string>& getLines() const { return lines_; }
    void draw(gui::DrawContext& context) override;

  private:
    std::vector<std::string> lines_;
};

}  // namespace kirra::editor
