#include "editor/CLibWnd.h"

#include <cstdio>
#include <memory>
#include <string>

#include "editor/CMessageBox.h"
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
const char* const kActionLabels[CLibWnd::kActionCount] = {
    "A", "B", "C", "U", "LOAD", "SAVE", "DFLT", "LOAD", "SAVE", "COPY", "PASTE"};
// The bank's three actions while the user's presets are shown.
const char* const kUserActionLabels[3] = {"SAVE AS", "RENAME", "DELETE"};
const char* const kNameHint = "up to 24 characters, no '/'";

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

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
    if (operations_.userPresetView().shown) showBank(kUserBank);
    revealCurrent();
}

void CLibWnd::showBank(int bank) {
    if (bank < 0 || bank > kUserBank) return;
    shownBank_ = bank;
    operations_.userPresetView().shown = showsUserPresets();
    if (showsUserPresets()) refreshUserPresets();
    scroll_.setGeometry(scroll_.bar(), lineCount(), kVisibleLines);
    scrollTo(0);
    invalid();
}

void CLibWnd::refreshUserPresets() {
    userPresets_ = operations_.userPresets();
    if (showsUserPresets()) scroll_.setGeometry(scroll_.bar(), lineCount(), kVisibleLines);
    invalid();
}

int CLibWnd::lineCount() const {
    return showsUserPresets() ? static_cast<int>(userPresets_.size())
                              : LibraryOperations::kPrograms;
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
    if (action <= kUserPresets) {
        int width = (column.width() - 6) / 4;
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
        const bool userAction = showsUserPresets() && action >= kBankLoad && action <= kBankDefault;
        const char* label =
            userAction ? kUserActionLabels[action - kBankLoad] : kActionLabels[action];
        context.setColor(shown ? Skin::kLight : Skin::kLight.withAlpha(36));
        context.fillRoundRect(box, 2);
        context.drawText(label, box, Align::kCenter, Skin::captionFont(),
                         shown ? Skin::kDark : Skin::kLight);
    }
}

void CLibWnd::drawLine(gui::DrawContext& context, int visibleIndex, const std::string& number,
                       const std::string& name, bool highlighted, bool dimmed) {
    Rect line = lineRect(visibleIndex);
    if (highlighted) {
        context.setColor(Skin::kLight);
        context.fillRect(line);
    }
    gui::Color color = highlighted ? Skin::kDark : Skin::kLight;
    context.drawText(number.c_str(),
                     {line.left + 2, line.top, line.left + kNumberWidth, line.bottom}, Align::kLeft,
                     Skin::textFont(), highlighted ? color : Skin::kDimText);
    context.drawText(name.c_str(),
                     {line.left + kNumberWidth + 2, line.top, line.right, line.bottom},
                     Align::kLeft, Skin::textFont(), dimmed ? color.withAlpha(110) : color);
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
        int index = scroll_.first() + i;
        if (index >= lineCount()) break;
        char number[12];
        std::snprintf(number, sizeof(number), "%02d", index + 1);
        if (showsUserPresets()) {
            const UserPresets::Entry& entry = userPresets_[index];
            drawLine(context, i, number, entry.readable ? entry.name : entry.name + " (unreadable)",
                     entry.name == operations_.userPresetView().selected, !entry.readable);
        } else {
            drawLine(context, i, number, operations_.programName(shownBank_, index),
                     currentShown && index == current, false);
        }
    }
    if (showsUserPresets() && userPresets_.empty()) {
        CTextPrinter::print(context, "no user presets yet: SAVE AS", lineRect(0), Align::kLeft,
                            Style::kDimmed, Skin::textFont());
    }
    scroll_.draw(context, Skin::kLight, Skin::kGreyText, Skin::smallFont());
    drawActions(context);
}

void CLibWnd::perform(Action action, bool withControl) {
    if (showsUserPresets() && action >= kBankLoad && action <= kBankDefault) {
        performUserAction(action);
        invalid();
        return;
    }
    switch (action) {
        case kBankA:
        case kBankB:
        case kBankC:
        case kUserPresets:
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

Rect CLibWnd::boxRect(int height) const {
    const Rect& rect = getRect();
    return {rect.left + 4, rect.top + 40, rect.right - 4, rect.top + 40 + height};
}

void CLibWnd::runFileAction(FileAction action) {
    // Bank files act on a factory bank; with the user's presets shown, on bank A.
    int bank = showsUserPresets() ? 0 : shownBank_;
    if (operations_.fileDialog(action, bank)) return;
    gui::Frame* frame = getFrame();
    if (frame == nullptr) return;
    LibraryOperations& operations = operations_;
    CPathField::Texts texts{fileActionTitle(action), "no file dialog on this desktop:\ntype a path",
                            operations_.suggestedPath(action, bank)};
    frame->showModal(std::make_unique<CPathField>(
        boxRect(CPathField::kHeight), texts, [&operations, action, bank](const std::string& path) {
            operations.fileAction(action, bank, path);
        }));
    frame->setFocusView(frame->getModalView());
}

void CLibWnd::tell(const std::string& text, std::function<void()> onYes) {
    gui::Frame* frame = getFrame();
    if (frame == nullptr) return;
    frame->showModal(
        std::make_unique<CMessageBox>(boxRect(CMessageBox::kHeight), text, std::move(onYes)));
    frame->setFocusView(frame->getModalView());
}

void CLibWnd::askName(const char* title, const std::string& initial,
                      std::function<void(const std::string&)> onName) {
    gui::Frame* frame = getFrame();
    if (frame == nullptr) return;
    CPathField::Texts texts{title, kNameHint, initial.substr(0, UserPresets::kMaxNameLength),
                            UserPresets::kMaxNameLength};
    frame->showModal(
        std::make_unique<CPathField>(boxRect(CPathField::kHeight), texts, std::move(onName)));
    frame->setFocusView(frame->getModalView());
}

void CLibWnd::report(UserPresets::Result result, const std::string& name) {
    using Result = UserPresets::Result;
    switch (result) {
        case Result::kDone:
            refreshUserPresets();
            break;
        case Result::kBadName:
            tell("refused: a name needs more than spaces\nand holds no '/' or control codes");
            break;
        case Result::kUnreadable:
            tell(quoted(name) + " is unreadable:\nnot a whole preset file");
            break;
        case Result::kMissing:
            refreshUserPresets();
            tell(quoted(name) + " is gone from the folder");
            break;
        default:
            tell("cannot write the preset folder:\n" + operations_.userPresetFolder());
            break;
    }
}

void CLibWnd::saveUserPreset(const std::string& name, bool replace) {
    const UserPresets::Result result = operations_.saveUserPreset(name, replace);
    if (result == UserPresets::Result::kExists) {
        tell(quoted(name) + " exists.\nReplace it?", [this, name] { saveUserPreset(name, true); });
        return;
    }
    if (result == UserPresets::Result::kDone) operations_.userPresetView().selected = name;
    report(result, name);
}

void CLibWnd::renameUserPreset(const std::string& from, const std::string& to, bool replace) {
    const UserPresets::Result result = operations_.renameUserPreset(from, to, replace);
    if (result == UserPresets::Result::kExists) {
        tell(quoted(to) + " exists.\nReplace it?",
             [this, from, to] { renameUserPreset(from, to, true); });
        return;
    }
    if (result == UserPresets::Result::kDone) operations_.userPresetView().selected = to;
    report(result, from);
}

void CLibWnd::performUserAction(Action action) {
    if (action == kBankLoad) {
        askName("Save preset as", operations_.currentProgramName(),
                [this](const std::string& name) { saveUserPreset(name, false); });
        return;
    }
    if (operations_.userPresetView().selected.empty()) {
        tell("click a user preset first");
        return;
    }
    const std::string selected = operations_.userPresetView().selected;
    if (action == kBankSave) {
        askName("Rename preset", selected, [this, selected](const std::string& name) {
            renameUserPreset(selected, name, false);
        });
    } else {
        tell("Delete " + quoted(selected) + "?", [this, selected] {
            const UserPresets::Result result = operations_.deleteUserPreset(selected);
            if (result == UserPresets::Result::kDone) operations_.userPresetView().selected.clear();
            report(result, selected);
        });
    }
}

void CLibWnd::lineClicked(int index) {
    if (!showsUserPresets()) {
        operations_.selectProgram(shownBank_, index);
        return;
    }
    const UserPresets::Entry& entry = userPresets_[index];
    operations_.userPresetView().selected = entry.name;
    if (!entry.readable) {
        report(UserPresets::Result::kUnreadable, entry.name);
        return;
    }
    const UserPresets::Result result = operations_.loadUserPreset(entry.name);
    if (result != UserPresets::Result::kDone) report(result, entry.name);
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
        int index = scroll_.first() + i;
        if (lineRect(i).contains(event.where) && index < lineCount()) {
            lineClicked(index);
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
