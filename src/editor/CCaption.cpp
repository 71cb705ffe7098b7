#include "editor/CCaption.h"

#include "editor/CTextPrinter.h"
#include "editor/Skin.h"

namespace kirra::editor {

void CCaption::draw(gui::DrawContext& context) {
    const gui::Rect& rect = getRect();
    CTextPrinter::print(context, text_.c_str(), rect, gui::Align::kLeft,
                        CTextPrinter::Style::kNormal, Skin::captionFont());
    context.setColor(Skin::kLight.withAlpha(40));
    context.setLineWidth(1.0);
    context.drawLine(rect.left, rect.bottom - 1, rect.right - 1, rect.bottom - 1);
}

void CText::setLines(std::vector<std::string> lines) {
    if (lines == lines_) return;
    lines_ = std::move(lines);
    invalid();
}

void CText::draw(gui::DrawContext& context) {
    const gui::Rect& rect = getRect();
    for (size_t i = 0; i < lines_.size(); ++i) {
        int top = rect.top + static_cast<int>(i) * kLineHeight;
        if (top + kLineHeight > rect.bottom) break;
        CTextPrinter::print(context, lines_[i].c_str(),
                            {rect.left, top, rect.right, top + kLineHeight}, gui::Align::kLeft);
    }
}

}  // namespace kirra::editor
