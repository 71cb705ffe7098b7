#include "editor/ModalBox.h"

#include "gui/Frame.h"

namespace kirra::editor {

void drawModalFrame(gui::DrawContext& context, const gui::Rect& rect) {
    context.setColor(Skin::kScreen);
    context.fillRect(rect);
    context.setColor(Skin::kLight.withAlpha(160));
    context.setLineWidth(1.0);
    context.frameRect(rect);
}

void printTwoLines(gui::DrawContext& context, const std::string& text, const gui::Rect& first,
                   int lineHeight, CTextPrinter::Style style, const gui::Font& font) {
    const size_t lineBreak = text.find('\n');
    const std::string lines[2] = {text.substr(0, lineBreak),
                                  lineBreak == std::string::npos ? "" : text.substr(lineBreak + 1)};
    for (int line = 0; line < 2; ++line) {
        const int top = first.top + lineHeight * line;
        CTextPrinter::print(context, lines[line].c_str(),
                            {first.left, top, first.right, top + lineHeight}, gui::Align::kLeft,
                            style, font);
    }
}

void closeModalView(gui::View& view) {
    gui::Frame* frame = view.getFrame();
    if (frame == nullptr || frame->getModalView() != &view) return;
    frame->setFocusView(nullptr);
    frame->closeModal();
}

}  // namespace kirra::editor
