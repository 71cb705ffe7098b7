#include "editor/CTextPrinter.h"

namespace kirra::editor {

void CTextPrinter::print(gui::DrawContext& context, const char* text, const gui::Rect& box,
                         gui::Align align, Style style, gui::Font font) {
    gui::Color color = Skin::kLight;
    if (style == Style::kHighlighted) {
        context.setColor(Skin::kLight);
        context.fillRect(box);
        color = Skin::kDark;
    } else if (style == Style::kDimmed) {
        color = Skin::kDimText;
    } else if (style == Style::kGreyed) {
        color = Skin::kGreyText;
    }
    // A little air at the edges the text is aligned to.
    gui::Rect inner = box;
    if (align == gui::Align::kLeft) inner.left += 2;
    if (align == gui::Align::kRight) inner.right -= 2;
    context.drawText(text, inner, align, font, color);
}

}  // namespace kirra::editor
