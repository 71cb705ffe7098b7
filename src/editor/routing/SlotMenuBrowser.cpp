#include "editor/routing/SlotMenuBrowser.h"

#include <cstdio>

#include "editor/CTextPrinter.h"
#include "editor/routing/CCordWnd.h"
#include "editor/routing/LitBox.h"
#include "editor/routing/SlotEditing.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"

namespace kirra::editor {

using gui::Rect;

namespace {

constexpr int kLineHeight = CCordWnd::kLineHeight;
constexpr int kBottomButtonWidth = 40;

}  // namespace

SlotMenuBrowser::SlotMenuBrowser(CCordWnd& window, Plugin& plugin, SlotEditing& editing)
    : window_(window), plugin_(plugin), editing_(editing) {}

// Geometry ------------------------------------------------------------------------------------

// Between the title and the line of the bottom buttons.
Rect SlotMenuBrowser::area() const {
    const Rect& rect = window_.getRect();
    return {rect.left, rect.top + CCordWnd::kHeaderHeight, rect.right, rect.bottom - kLineHeight};
}

int SlotMenuBrowser::getVisibleLines() const {
    return area().height() / kLineHeight;
}

Rect SlotMenuBrowser::lineRect(int line) const {
    int visible = line - scroll_.first();
    if (!open_ || line < 0 || line >= static_cast<int>(menu_.entries.size()) || visible < 0 ||
        visible >= getVisibleLines())
        return {};
    Rect menuArea = area();
    int right = scroll_.isNeeded() ? menuArea.right - gui::ScrollBar::kWidth - 1 : menuArea.right;
    int top = menuArea.top + visible * kLineHeight;
    return {menuArea.left, top, right, top + kLineHeight};
}

int SlotMenuBrowser::lineAt(gui::Point where) const {
    for (int visible = 0; visible < getVisibleLines(); ++visible) {
        int line = scroll_.first() + visible;
        if (lineRect(line).contains(where)) return line;
    }
    return -1;
}

Rect SlotMenuBrowser::exitRect() const {
    const Rect& rect = window_.getRect();
    return {rect.left + 2, rect.bottom - kLineHeight, rect.left + 2 + kBottomButtonWidth,
            rect.bottom - 1};
}

Rect SlotMenuBrowser::learnRect() const {
    if (!open_ || menu_.level != MenuLevel::kControllers) return {};
    const Rect& rect = window_.getRect();
    return {rect.right - 2 - kBottomButtonWidth, rect.bottom - kLineHeight, rect.right - 2,
            rect.bottom - 1};
}

void SlotMenuBrowser::scrollTo(int firstLine) {
    if (scroll_.scrollTo(firstLine)) window_.invalid();
}

// Levels --------------------------------------------------------------------------------------

std::string SlotMenuBrowser::title() const {
    char text[64];
    std::snprintf(text, sizeof(text), "MODULATION SLOT %02d %s", slot_ + 1,
                  menu_.isSourceMenu() ? "SOURCE" : "DESTINATION");
    return text;
}

void SlotMenuBrowser::open(int slot, MenuLevel level) {
    slot_ = slot;
    open_ = true;
    enterLevel(level, 0);
}

void SlotMenuBrowser::close() {
    stopLearning();
    open_ = false;
    hoverLine_ = -1;
    window_.invalid();
}

void SlotMenuBrowser::rebuild() {
    int first = scroll_.first();
    enterLevel(menu_.level, menu_.moduleSlot);
    scroll_.scrollTo(first);
}

int SlotMenuBrowser::currentChoice() const {
    return menu_.isSourceMenu() ? window_.sourceNumber(slot_) : window_.destinationNumber(slot_);
}

void SlotMenuBrowser::enterLevel(MenuLevel level, int moduleSlot) {
    if (menu_.level == MenuLevel::kControllers && level != MenuLevel::kControllers) stopLearning();
    bool sameLevel = level == menu_.level && moduleSlot == menu_.moduleSlot;
    menu_ = SlotMenu::build(level, moduleSlot, plugin_);
    Rect menuArea = area();
    scroll_.setGeometry(
        {menuArea.right - gui::ScrollBar::kWidth, menuArea.top, menuArea.right, menuArea.bottom},
        static_cast<int>(menu_.entries.size()), getVisibleLines());
    // A new level opens at its top, or with the slot's present choice in view.
    if (!sameLevel) {
        int chosen = menu_.lineOfChoice(currentChoice());
        scroll_.scrollTo(chosen < 0 ? 0 : chosen - getVisibleLines() / 2);
    }
    hoverLine_ = -1;
    window_.invalid();
}

SlotMenuBrowser::Click SlotMenuBrowser::activate(const MenuEntry& entry) {
    switch (entry.kind) {
        case MenuEntry::Kind::kOpen:
            enterLevel(entry.level, entry.moduleSlot);
            break;
        case MenuEntry::Kind::kParent:
            enterLevel(menu_.parent(), menu_.moduleSlot);
            break;
        case MenuEntry::Kind::kChoose:
            if (menu_.isSourceMenu()) {
                chooseSource(entry.choice);
            } else {
                editing_.editParameter(param::kSlotDestination1 + slot_,
                                       indexToValue(entry.choice, param::kDestinationStates));
            }
            close();
            return Click::kChosen;
    }
    return Click::kHandled;
}

void SlotMenuBrowser::chooseSource(int source) {
    const int sourceIndex = param::kSlotSource1 + slot_;
    const int sensitivityIndex = param::kSlotSensitivity1 + slot_;
    const float sensitivity = plugin_.getParameter(sensitivityIndex);
    // A slot put to use starts at an amount that is heard; a slot in use keeps its own.
    const bool starting = window_.sourceNumber(slot_) == ModulationSlots::kSourceNone &&
                          sensitivity == parameterDefault(sensitivityIndex) &&
                          source != ModulationSlots::kSourceNone;
    // One gesture: the source and its starting amount are undone together.
    editing_.beginEdit(sensitivityIndex);
    editing_.editParameter(sourceIndex, indexToValue(source, param::kSourceStates));
    if (starting) {
        editing_.editParameter(
            sensitivityIndex,
            parameterFromText(sensitivityIndex, "+50", sensitivity, ParameterContext()));
    }
    editing_.endEdit(sensitivityIndex);
}

void SlotMenuBrowser::stopLearning() {
    if (open_ && editing_.getLearningSlot() == slot_) editing_.learnSlotSource(-1);
}

void SlotMenuBrowser::sourceLearned(int slot) {
    if (open_ && slot == slot_ && menu_.level == MenuLevel::kControllers) close();
}

// Mouse ---------------------------------------------------------------------------------------

SlotMenuBrowser::Click SlotMenuBrowser::mouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return Click::kHandled;
    if (scroll_.mouseDown(event.where)) {
        window_.invalid();
        return Click::kHandled;
    }
    if (exitRect().contains(event.where)) {
        close();
    } else if (learnRect().contains(event.where)) {
        editing_.learnSlotSource(editing_.getLearningSlot() == slot_ ? -1 : slot_);
        window_.invalid();
    } else if (int line = lineAt(event.where); line >= 0) {
        // A copy: activating a line rebuilds the menu it belongs to.
        MenuEntry entry = menu_.entries[line];
        return activate(entry);
    }
    return Click::kHandled;
}

void SlotMenuBrowser::mouseMoved(const gui::MouseEvent& event) {
    if (scroll_.mouseMoved(event.where)) {
        window_.invalid();
        return;
    }
    int hover = lineAt(event.where);
    if (hover != hoverLine_) {
        hoverLine_ = hover;
        window_.invalid();
    }
}

// Drawing -------------------------------------------------------------------------------------

void SlotMenuBrowser::draw(gui::DrawContext& context) {
    const Rect& rect = window_.getRect();
    const int headerBottom = rect.top + CCordWnd::kHeaderHeight - 1;
    context.drawText(title().c_str(), {rect.left, rect.top, rect.right, headerBottom},
                     gui::Align::kCenter, Skin::captionFont(), Skin::kLight);
    context.setColor(Skin::kLight.withAlpha(40));
    context.drawLine(rect.left, headerBottom, rect.right - 1, headerBottom);

    const gui::Font font = Skin::smallFont();
    const int chosen = menu_.lineOfChoice(currentChoice());
    for (int visible = 0; visible < getVisibleLines(); ++visible) {
        int line = scroll_.first() + visible;
        if (line >= static_cast<int>(menu_.entries.size())) break;
        const MenuEntry& entry = menu_.entries[line];
        Rect box = lineRect(line);
        CTextPrinter::Style style = CTextPrinter::Style::kNormal;
        if (line == chosen) {
            style = CTextPrinter::Style::kHighlighted;
        } else if (line == hoverLine_) {
            context.setColor(Skin::kLight.withAlpha(40));
            context.fillRect(box);
        }
        if (entry.kind == MenuEntry::Kind::kParent) style = CTextPrinter::Style::kDimmed;
        CTextPrinter::print(context, entry.text.c_str(), box, gui::Align::kLeft, style, font);
        if (entry.kind == MenuEntry::Kind::kOpen) {
            CTextPrinter::print(context, ">", box, gui::Align::kRight, CTextPrinter::Style::kDimmed,
                                font);
        }
    }
    scroll_.draw(context, Skin::kLight, Skin::kGreyText, Skin::smallFont());
    drawLitBox(context, exitRect(), false, "EXIT");
    if (menu_.level == MenuLevel::kControllers)
        drawLitBox(context, learnRect(), editing_.getLearningSlot() == slot_, "LEARN");
}

}  // namespace kirra::editor
