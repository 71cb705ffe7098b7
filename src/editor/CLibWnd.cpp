#include "editor/CLibWnd.h"

#include <cstdio>
#include <memory>
#include <string>

#include "editor/CPathField.h"
#include "editor/CTextPrinter.h"
#include "editor/Skin.h"
#include "gui/Frame.h"

namespace kirra::editor {

using gui::Align;
using gui::Rect;
using Style = CTextPrinter::Style;

namespace {

constexpr int kActionsWidth = 54;
constexpr int kButtonHeight = 11;
constexpr int kRowPitch = 13;
constexpr int kNumberWidth = 18;
const char* const kActionLabels[CLibWnd::kActionCount] = {"A",    "B",    "C",    "LOAD", "SAVE",
                                                          "DFLT", "LOAD", "SAVE", "COPY", "PASTE"};

}  // namespace

CLibWnd::CLibWnd(const Rect& rect, LibraryOperations& operations)
    : Control(rect, nullptr, -1), operations_(operations) {
    listRect_ = {rect.left, rect.top, rect.right - kActionsWidth - 4, rect.bottom};
    actionsRect_ = {rect.right - kActionsWidth, rect.top, rect.right, rect.bottom};
    int linesTop = listRect_.top + kLineHeight;
    scroll_.setGeometry({listRect_.right - gui::ScrollBar::kWidth, linesTop, listRect_.right,
                         linesTop + kVisibleLines * kLineHeight},
                        LibraryOperations::kPrograms, kVisibleLines);
    shownBank_ = operations_.currentBank();
    revealCurrent();
}

void CLibWnd::showBank(int bank) {
    if (bank < 0 || bank >= LibraryOperations::kBanks) return;
    shownBank_ = bank;
    invalid();
}

void CLibWnd::scrollTo(int first) {
    if (scroll_.scrollTo(first)) invalid();
}

void CLibWnd::revealCurrent() {
    if (operations_.currentBank() != shownBank_) return;
    int current = operations_.currentPreset();
    if (current < scroll_.first()) scrollTo(current);
    if (current >= scroll_.first() + kVisibleLines) scrollTo(current - kVisibleLines + 1);
    invalid();
}

Rect CLibWnd::lineRect(int visibleIndex) const {
    int top = listRect_.top + kLineHeight * (visibleIndex + 1);
    return {listRect_.left, top, listRect_.right - gui::ScrollBar::kWidth - 1, top + kLineHeight};
}

Rect CLibWnd::actionRect(Action action) const {
    const Rect& column = actionsRect_;
    // "BANK" caption, the three bank letters in one row, three bank actions; then "PRESET" and
    // its four actions.
    if (action <= kBankC) {
        int width = (column.width() - 4) / 3;
        int left = column.left + action * (width + 2);
        int top = column.top + kRowPitch;
        return {left, top, left + width, top + kButtonHeight};
    }
    int row = action <= kBankDefault ? 2 + (action - kBankLoad) : 6 + (action - kPresetLoad);
    int top = column.top + row * kRowPitch;
    return {column.left, top, column.right, top + kButtonHeight};
}

void CLibWnd::drawActions(gui::DrawContext& context) {
    const Rect& column = actionsRect_;
    CTextPrinter::print(context, "BANK", {column.left, column.top, column.right, column.top + 11},
                        Align::kCenter, Style::kDimmed, Skin::captionFont());
    int presetTop = column.top + 5 * kRowPitch;
    CTextPrinter::print(context, "PRESET", {column.left, presetTop, column.right, presetTop + 11},
                        Align::kCenter, Style::kDimmed, Skin::captionFont());
    for (int action = 0; action < kActionCount; ++action) {
        Rect box = actionRect(static_cast<Action>(action));
        bool shown = action == shownBank_;
        context.setColor(shown ? Skin::kLight : Skin::kLight.withAlpha(36));
        context.fillRoundRect(box, 2);
        context.drawText(kActionLabels[action], box, Align::kCenter, Skin::captionFont(),
                         shown ? Skin::kDark : Skin::kLight);
    }
}

void CLibWnd::draw(gui::DrawContext& context) {
    Rect heading{listRect_.left, listRect_.top, listRect_.right, listRect_.top + kLineHeight};
    CTextPrinter::print(context, "NO",
                        {heading.left, heading.top, heading.left + kNumberWidth, heading.bottom},
                        Align::kLeft, Style::kDimmed, Skin::captionFont());
    CTextPrinter::print(
        context, "PRESET NAME",
        {heading.left + kNumberWidth + 2, heading.top, heading.right, heading.bottom}, Align::kLeft,
        Style::kDimmed, Skin::captionFont());
    bool currentShown = operations_.currentBank() == shownBank_;
    int current = operations_.currentPreset();
    for (int i = 0; i < kVisibleLines; ++i) {
        int preset = scroll_.first() + i;
        if (preset >= LibraryOperations::kPrograms) break;
        Rect line = lineRect(i);
        Style style = currentShown && preset == current ? Style::kHighlighted : Style::kNormal;
        if (style == Style::kHighlighted) {
            context.setColor(Skin::kLight);
            context.fillRect(line);
        }
        char number[12];
        std::snprintf(number, sizeof(number), "%02d", preset + 1);
        gui::Color color = style == Style::kHighlighted ? Skin::kDark : Skin::kLight;
        context.drawText(number, {line.left + 2, line.top, line.left + kNumberWidth, line.bottom},
                         Align::kLeft, Skin::textFont(),
                         style == Style::kNormal ? Skin::kDimText : color);
        std::string name = operations_.programName(shownBank_, preset);
        context.drawText(name.c_str(),
                         {line.left + kNumberWidth + 2, line.top, line.right, line.bottom},
                         Align::kLeft, Skin::textFont(), color);
    }
    scroll_.draw(context, Skin::kLight, Skin::kGreyText, Skin::smallFont());
    drawActions(context);
}

void CLibWnd::perform(Action action, bool withControl) {
    switch (action) {
        case kBankA:
        case kBankB:
        case kBankC:
            showBank(action - kBankA);
            revealCurrent();
            break;
        case kBankLoad:
            runFileAction(FileAction::kLoadBank);
            break;
        case kBankSave:
            runFileAction(FileAction::kSaveBank);
            break;
        case kBankDefault:
            if (withControl) {
                operations_.forgetDefaultBank(shownBank_);
            } else {
                operations_.saveDefaultBank(shownBank_);
            }
            break;
        case kPresetLoad:
            runFileAction(FileAction::kLoadPreset);
            break;
        case kPresetSave:
            runFileAction(FileAction::kSavePreset);
            break;
        case kPresetCopy:
            operations_.copyPreset();
            break;
        case kPresetPaste:
            operations_.pastePreset();
            break;
        default:
            break;
    }
    invalid();
}

void CLibWnd::runFileAction(FileAction action) {
    int bank = shownBank_;
    if (operations_.fileDialog(action, bank)) return;
    gui::Frame* frame = getFrame();
    if (frame == nullptr) return;
    const Rect& rect = getRect();
    Rect box{rect.left + 4, rect.top + 40, rect.right - 4, rect.top + 102};
    LibraryOperations& operations = operations_;
    frame->showModal(std::make_unique<CPathField>(
        box, fileActionTitle(action), "", [&operations, action, bank](const std::string& path) {
            operations.fileAction(action, bank, path);
        }));
    frame->setFocusView(frame->getModalView());
}

bool CLibWnd::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    if (scroll_.mouseDown(event.where)) {
        invalid();
        return true;
    }
    for (int action = 0; action < kActionCount; ++action) {
        if (actionRect(static_cast<Action>(action)).contains(event.where)) {
            perform(static_cast<Action>(action), event.hasControl());
            return true;
        }
    }
    for (int i = 0; i < kVisibleLines; ++i) {
        int preset = scroll_.first() + i;
        if (lineRect(i).contains(event.where) && preset < LibraryOperations::kPrograms) {
            operations_.selectProgram(shownBank_, preset);
            invalid();
            return true;
        }
    }
    return true;
}

void CLibWnd::onMouseMoved(const gui::MouseEvent& event) {
    if (scroll_.mouseMoved(event.where)) invalid();
}

void CLibWnd::onMouseUp(const gui::MouseEvent& /*event*/) {
    scroll_.mouseUp();
}

bool CLibWnd::onWheel(const gui::MouseEvent& /*event*/, float steps) {
    scrollTo(scroll_.first() - static_cast<int>(3 * steps));
    return true;
}

}  // namespace kirra::editor
