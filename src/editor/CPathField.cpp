#include "editor/CPathField.h"

#include "editor/CTextPrinter.h"
#include "gui/Frame.h"

namespace kirra::editor {

using gui::Rect;

CPathField::CPathField(const Rect& rect, std::string title, const std::string& initialPath,
                       std::function<void(const std::string&)> onPath)
    : View(rect), title_(std::move(title)), onPath_(std::move(onPath)) {
    entry_.start(initialPath, kMaxPathLength);
}

void CPathField::draw(gui::DrawContext& context) {
    const Rect& rect = getRect();
    context.setColor(Skin::kScreen);
    context.fillRect(rect);
    context.setColor(Skin::kLight.withAlpha(160));
    context.setLineWidth(1.0);
    context.frameRect(rect);
    CTextPrinter::print(context, title_.c_str(),
                        {rect.left + 4, rect.top + 4, rect.right - 4, rect.top + 16},
                        gui::Align::kLeft, CTextPrinter::Style::kNormal, Skin::captionFont());
    CTextPrinter::print(context, "no file dialog on this desktop: type a path",
                        {rect.left + 4, rect.top + 18, rect.right - 4, rect.top + 28},
                        gui::Align::kLeft, CTextPrinter::Style::kDimmed, Skin::smallFont());
    entry_.draw(context, {rect.left + 4, rect.top + 32, rect.right - 4, rect.top + 44},
                Skin::textFont(), Skin::kDark, Skin::kLight);
    CTextPrinter::print(context, "Return: go    Escape: cancel",
                        {rect.left + 4, rect.top + 48, rect.right - 4, rect.top + 58},
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
        auto onPath = onPath_;
        close();
        if (onPath) onPath(path);
    } else if (result == gui::LineEditor::Result::kCancel) {
        close();
    } else {
        invalid();
    }
    return true;
}

void CPathField::close() {
    if (gui::Frame* frame = getFrame(); frame != nullptr && frame->getModalView() == this) {
        frame->setFocusView(nullptr);
        frame->closeModal();
    }
}

}  // namespace kirra::editor
