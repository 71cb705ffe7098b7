#include "editor/CPathField.h"

#include "editor/CTextPrinter.h"
#include "editor/ModalBox.h"
#include "gui/Frame.h"

namespace kirra::editor {

using gui::Rect;

CPathField::CPathField(const Rect& rect, const Texts& texts,
                       std::function<void(const std::string&)> onEnter)
    : View(rect), title_(texts.title), hint_(texts.hint), onEnter_(std::move(onEnter)) {
    entry_.start(texts.initial, texts.maxLength);
}

void CPathField::draw(gui::DrawContext& context) {
    const Rect& rect = getRect();
    drawModalFrame(context, rect);
    CTextPrinter::print(context, title_.c_str(),
                        {rect.left + 4, rect.top + 4, rect.right - 4, rect.top + 16},
                        gui::Align::kLeft, CTextPrinter::Style::kNormal, Skin::captionFont());
    // Two lines, so that a hint wider than the box is never cut.
    printTwoLines(context, hint_, {rect.left + 4, rect.top + 18, rect.right - 4, rect.top + 28}, 10,
                  CTextPrinter::Style::kDimmed, Skin::smallFont());
    entry_.draw(context, {rect.left + 4, rect.top + 40, rect.right - 4, rect.top + 52},
                Skin::textFont(), Skin::kDark, Skin::kLight);
    CTextPrinter::print(context, "Return: go    Escape: cancel",
                        {rect.left + 4, rect.top + 56, rect.right - 4, rect.top + 66},
                        gui::Align::kLeft, CTextPrinter::Style::kDimmed, Skin::smallFont());
}

bool CPathField::onMouseDown(const gui::MouseEvent& event) {
    if (!getRect().contains(event.where)) close();
    return true;
}

bool CPathField::onKeyDown(const gui::KeyEvent& event) {
    gui::LineEditor::Result result = entry_.handleKey(event);
    if (result == gui::LineEditor::Result::kCommit) {
        std::string path = entry_.text();
        auto onEnter = onEnter_;
        close();
        if (onEnter) onEnter(path);
    } else if (result == gui::LineEditor::Result::kCancel) {
        close();
    } else {
        invalid();
    }
    return true;
}

void CPathField::close() {
    closeModalView(*this);
}

}  // namespace kirra::editor
