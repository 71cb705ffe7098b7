#pragma once
// One line of static text.

#include <string>

#include "gui/View.h"

namespace kirra::gui {

class TextLabel : public View {
  public:
    TextLabel(const Rect& rect, std::string text, Font font, Color color, Align align)
        : View(rect), text_(std::move(text)), font_(font), color_(color), align_(align) {}

    const std::string& getText() const { return text_; }
    void setText(const std::string& text);
    void draw(DrawContext& context) override;

  private:
    std::string text_;
    Font font_;
    Color color_;
    Align align_;
};

}  // namespace kirra::gui
