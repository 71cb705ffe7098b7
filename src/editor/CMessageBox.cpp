#include "editor/CMessageBox.h"

#include "editor/ModalBox.h"
#include "editor/Skin.h"

namespace kirra::editor {

using gui::Rect;

namespace {

constexpr int kButtonWidth = 30;
constexpr int kButtonHeight = 11;

}  // namespace

CMessageBox::CMessageBox(const Rect& rect, std::string text, std::function<void()> onYes)
    : View(rect), text_(std::move(text)), onYes_(std::move(onYes)) {}

Rect CMessageBox::yesRect() const {
    const Rect& rect = getRect();
    const int right = isQuestion() ? rect.right - 8 - kButtonWidth - 6 : rect.right - 8;
    return {right - kButtonWidth, rect.bottom - 6 - kButtonHeight, right, rect.bottom - 6};
}

Rect CMessageBox::noRect() const {
    const Rect& rect = getRect();
    return {rect.right - 8 - kButtonWidth, rect.bottom - 6 - kButtonHeight, rect.right - 8,
            rect.bottom - 6};
}

void CMessageBox::draw(gui::DrawContext& context) {
    const Rect& rect = getRect();
    drawModalFrame(context, rect);
    printTwoLines(context, text_, {rect.left + 4, rect.top + 5, rect.right - 4, rect.top + 16}, 11,
                  CTextPrinter::Style::kNormal, Skin::textFont());
    const char* labels[2] = {isQuestion() ? "YES" : "OK", "NO"};
    const Rect boxes[2] = {yesRect(), noRect()};
    for (int button = 0; button < (isQuestion() ? 2 : 1); ++button) {
        context.setColor(Skin::kLight.withAlpha(60));
        context.fillRoundRect(boxes[button], 2.0);
        context.drawText(labels[button], boxes[button], gui::Align::kCenter, Skin::captionFont(),
                         Skin::kLight);
    }
}

bool CMessageBox::onMouseDown(const gui::MouseEvent& event) {
    if (yesRect().contains(event.where)) {
        answer(true);
    } else if (!getRect().contains(event.where) ||
               (isQuestion() && noRect().contains(event.where))) {
        answer(false);
    }
    return true;
}

bool CMessageBox::onKeyDown(const gui::KeyEvent& event) {
    if (event.key == gui::Key::kReturn) answer(true);
    if (event.key == gui::Key::kEscape) answer(false);
    return true;
}

void CMessageBox::answer(bool yes) {
    auto onYes = onYes_;
    closeModalView(*this);
    if (yes && onYes) onYes();
}

}  // namespace kirra::editor
