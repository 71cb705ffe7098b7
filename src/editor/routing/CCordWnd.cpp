#include "editor/routing/CCordWnd.h"

#include <algorithm>
#include <cstdio>

#include "editor/CTextPrinter.h"
#include "editor/routing/LitBox.h"
#include "editor/routing/RoutingTexts.h"
#include "engine/ParameterDescription.h"
#include "editor/routing/SlotEditing.h"
#include "engine/ModulationSlots.h"
#include "engine/Plugin.h"
#include "gui/Frame.h"

namespace kirra::editor {

using gui::Rect;
using Slots = ModulationSlots;

namespace {

constexpr int kNumberWidth = 16;
constexpr int kSourceWidth = 80;
constexpr int kSensitivityWidth = 28;
constexpr int kEntryLength = 8;
constexpr int kBottomButtonWidth = 40;

gui::Font rowFont() {
    return Skin::smallFont();
}

}  // namespace

CCordWnd::CCordWnd(const Rect& rect, Plugin& plugin, SlotEditing& editing)
    : View(rect), plugin_(plugin), editing_(editing) {
    Rect list = listArea();
    listScroll_.setGeometry(
        {list.right - gui::ScrollBar::kWidth, list.top, list.right, list.bottom}, kSlots,
        getVisibleRows());
    refresh();
}

CCordWnd::~CCordWnd() {
    stopLearning();
}

// Reading --------------------------------------------------------------------------------------

void CCordWnd::readSlot(int slot, int muteBits) {
    SlotRow& row = rows_[slot];
    row.source =
        valueToIndex(plugin_.getParameter(param::kSlotSource1 + slot), param::kSourceStates);
    row.destination = valueToIndex(plugin_.getParameter(param::kSlotDestination1 + slot),
                                   param::kDestinationStates);
    // The slot being dragged shows where the pointer is.
    if (slot != dragSlot_) row.sensitivity = plugin_.getParameter(param::kSlotSensitivity1 + slot);
    row.muted = ((muteBits >> slot) & 1) != 0;
    ModuleText name = "";
    plugin_.getSourceName(row.source, false, name);
    row.sourceName = name;
    plugin_.getDestinationName(row.destination, name);
    row.destinationName = name;
}

void CCordWnd::refresh() {
    // One wait for the engine instead of one per name.
    platform::EngineLock lock(plugin_.getEngineMutex());
    int muteBits = valueToIndex(plugin_.getParameter(param::kSlotStatus), param::kSlotStatusStates);
    for (int slot = 0; slot < kSlots; ++slot)
        readSlot(slot, muteBits);
    // The modules named in an open menu may have been replaced.
    if (menuOpen_) {
        int first = menuScroll_.first();
        enterLevel(menu_.level, menu_.moduleSlot);
        menuScroll_.scrollTo(first);
    }
    invalid();
}

std::string CCordWnd::sensitivityShown(int slot) const {
    const SlotRow& row = rows_[slot];
    if (row.sourceName.empty() || row.destinationName.empty()) return "";
    if (row.muted) return "----";
    ModuleText text = "";
    parameterEditorText(param::kSlotSensitivity1 + slot, row.sensitivity, ParameterContext(), text);
    return text;
}

// Geometry ------------------------------------------------------------------------------------

Rect CCordWnd::listArea() const {
    const Rect& rect = getRect();
    return {rect.left, rect.top + kHeaderHeight, rect.right, rect.bottom};
}

Rect CCordWnd::menuArea() const {
    const Rect& rect = getRect();
    return {rect.left, rect.top + kHeaderHeight, rect.right, rect.bottom - kLineHeight};
}

int CCordWnd::getVisibleRows() const {
    return listArea().height() / kLineHeight;
}

int CCordWnd::getVisibleMenuLines() const {
    return menuArea().height() / kLineHeight;
}

Rect CCordWnd::columnSpan(Column column) const {
    const Rect& rect = getRect();
    int number = rect.left;
    int source = number + kNumberWidth;
    int sensitivity = source + kSourceWidth;
    int destination = sensitivity + kSensitivityWidth;
    int end = rect.right - gui::ScrollBar::kWidth - 1;
    switch (column) {
        case Column::kNumber:
            return {number, rect.top, source, rect.bottom};
        case Column::kSource:
            return {source, rect.top, sensitivity, rect.bottom};
        case Column::kSensitivity:
            return {sensitivity, rect.top, destination, rect.bottom};
        case Column::kDestination:
            return {destination, rect.top, end, rect.bottom};
        default:
            return {};
    }
}

CCordWnd::Column CCordWnd::columnAt(int x) const {
    for (Column column :
         {Column::kNumber, Column::kSource, Column::kSensitivity, Column::kDestination}) {
        Rect span = columnSpan(column);
        if (x >= span.left && x < span.right) return column;
    }
    return Column::kNone;
}

Rect CCordWnd::cellRect(int slot, Column column) const {
    int visible = slot - listScroll_.first();
    if (menuOpen_ || slot < 0 || slot >= kSlots || visible < 0 || visible >= getVisibleRows())
        return {};
    Rect span = columnSpan(column);
    int top = listArea().top + visible * kLineHeight;
    return {span.left, top, span.right, top + kLineHeight};
}

int CCordWnd::slotAt(gui::Point where) const {
    Rect list = listArea();
    if (!list.contains(where)) return -1;
    int slot = listScroll_.first() + (where.y - list.top) / kLineHeight;
    return slot < kSlots ? slot : -1;
}

Rect CCordWnd::menuLineRect(int line) const {
    int visible = line - menuScroll_.first();
    if (!menuOpen_ || line < 0 || line >= static_cast<int>(menu_.entries.size()) || visible < 0 ||
        visible >= getVisibleMenuLines())
        return {};
    Rect area = menuArea();
    int right = menuScroll_.isNeeded() ? area.right - gui::ScrollBar::kWidth - 1 : area.right;
    int top = area.top + visible * kLineHeight;
    return {area.left, top, right, top + kLineHeight};
}

int CCordWnd::menuLineAt(gui::Point where) const {
    for (int visible = 0; visible < getVisibleMenuLines(); ++visible) {
        int line = menuScroll_.first() + visible;
        if (menuLineRect(line).contains(where)) return line;
    }
    return -1;
}

Rect CCordWnd::exitRect() const {
    const Rect& rect = getRect();
    return {rect.left + 2, rect.bottom - kLineHeight, rect.left + 2 + kBottomButtonWidth,
            rect.bottom - 1};
}

Rect CCordWnd::learnRect() const {
    if (!menuOpen_ || menu_.level != MenuLevel::kControllers) return {};
    const Rect& rect = getRect();
    return {rect.right - 2 - kBottomButtonWidth, rect.bottom - kLineHeight, rect.right - 2,
            rect.bottom - 1};
}

void CCordWnd::scrollListTo(int firstRow) {
    if (listScroll_.scrollTo(firstRow)) invalid();
}

void CCordWnd::scrollMenuTo(int firstLine) {
    if (menuScroll_.scrollTo(firstLine)) invalid();
}

// Menus ---------------------------------------------------------------------------------------

std::string CCordWnd::menuTitle() const {
    char title[64];
    std::snprintf(title, sizeof(title), "MODULATION SLOT %02d %s", menuSlot_ + 1,
                  menu_.isSourceMenu() ? "SOURCE" : "DESTINATION");
    return title;
}

void CCordWnd::openSourceMenu(int slot) {
    openMenu(slot, MenuLevel::kSources);
}

void CCordWnd::openDestinationMenu(int slot) {
    openMenu(slot, MenuLevel::kDestinations);
}

void CCordWnd::openMenu(int slot, MenuLevel level) {
    if (slot < 0 || slot >= kSlots) return;
    commitEntry();
    menuSlot_ = slot;
    menuOpen_ = true;
    enterLevel(level, 0);
}

void CCordWnd::showList() {
    stopLearning();
    menuOpen_ = false;
    hoverLine_ = -1;
    invalid();
}

int CCordWnd::currentChoice() const {
    const SlotRow& row = rows_[menuSlot_];
    return menu_.isSourceMenu() ? row.source : row.destination;
}

void CCordWnd::enterLevel(MenuLevel level, int moduleSlot) {
    if (menu_.level == MenuLevel::kControllers && level != MenuLevel::kControllers) stopLearning();
    bool sameLevel = level == menu_.level && moduleSlot == menu_.moduleSlot;
    menu_ = SlotMenu::build(level, moduleSlot, plugin_);
    Rect area = menuArea();
    menuScroll_.setGeometry(
        {area.right - gui::ScrollBar::kWidth, area.top, area.right, area.bottom},
        static_cast<int>(menu_.entries.size()), getVisibleMenuLines());
    // A new level opens at its top, or with the slot's present choice in view.
    if (!sameLevel) {
        int chosen = menu_.lineOfChoice(currentChoice());
        menuScroll_.scrollTo(chosen < 0 ? 0 : chosen - getVisibleMenuLines() / 2);
    }
    hoverLine_ = -1;
    invalid();
}

void CCordWnd::activate(const MenuEntry& entry) {
    switch (entry.kind) {
        case MenuEntry::Kind::kOpen:
            enterLevel(entry.level, entry.moduleSlot);
            break;
        case MenuEntry::Kind::kParent:
            enterLevel(menu_.parent(), menu_.moduleSlot);
            break;
        case MenuEntry::Kind::kChoose: {
            int slot = menuSlot_;
            if (menu_.isSourceMenu()) {
                editing_.editParameter(param::kSlotSource1 + slot,
                                       indexToValue(entry.choice, param::kSourceStates));
            } else {
                editing_.editParameter(param::kSlotDestination1 + slot,
                                       indexToValue(entry.choice, param::kDestinationStates));
            }
            showList();
            readSlot(slot, valueToIndex(plugin_.getParameter(param::kSlotStatus),
                                        param::kSlotStatusStates));
            break;
        }
    }
}

void CCordWnd::stopLearning() {
    if (menuOpen_ && editing_.getLearningSlot() == menuSlot_) editing_.learnSlotSource(-1);
}

void CCordWnd::sourceLearned(int slot) {
    readSlot(slot,
             valueToIndex(plugin_.getParameter(param::kSlotStatus), param::kSlotStatusStates));
    if (menuOpen_ && slot == menuSlot_ && menu_.level == MenuLevel::kControllers) showList();
    invalid();
}

void CCordWnd::selectModuleOf(int slot, Column column) {
    const SlotRow& row = rows_[slot];
    if (column == Column::kSource && row.source >= Slots::kSourceModulator1 &&
        row.source < Slots::kSourceKnob1) {
        editing_.editParameter(
            param::kCurrentModulator,
            indexToValue(row.source - Slots::kSourceModulator1, param::kPageStates));
    } else if (column == Column::kDestination && row.destination >= Slots::kDestinationOperator &&
               row.destination < Slots::kDestinationModulator) {
        int op = (row.destination - Slots::kDestinationOperator) / param::kOperatorPositions;
        editing_.editParameter(param::kCurrentOperator, indexToValue(op, param::kPageStates));
    } else if (column == Column::kDestination && row.destination >= Slots::kDestinationModulator &&
               row.destination < Slots::kDestinationRouting) {
        int mod = (row.destination - Slots::kDestinationModulator) / param::kModulatorPositions;
        editing_.editParameter(param::kCurrentModulator, indexToValue(mod, param::kPageStates));
    }
}

// Mouse and keys ------------------------------------------------------------------------------

bool CCordWnd::onMouseDown(const gui::MouseEvent& event) {
    if (!getRect().contains(event.where)) return false;
    // A click anywhere else in the window ends typing, as it would outside.
    if (entry_.isActive() && !cellRect(entrySlot_, Column::kSensitivity).contains(event.where))
        commitEntry();
    if (entry_.isActive()) return true;
    return menuOpen_ ? menuMouseDown(event) : listMouseDown(event);
}

bool CCordWnd::listMouseDown(const gui::MouseEvent& event) {
    if (event.isLeft() && listScroll_.mouseDown(event.where)) {
        invalid();
        return true;
    }
    int slot = slotAt(event.where);
    if (slot < 0) return true;
    Column column = columnAt(event.where.x);
    if (column == Column::kSensitivity) {
        sensitivityMouseDown(slot, event);
    } else if (column == Column::kSource || column == Column::kDestination) {
        if (event.isRight()) {
            selectModuleOf(slot, column);
        } else if (event.isLeft()) {
            openMenu(slot,
                     column == Column::kSource ? MenuLevel::kSources : MenuLevel::kDestinations);
        }
    }
    return true;
}

void CCordWnd::sensitivityMouseDown(int slot, const gui::MouseEvent& event) {
    // Nothing to adjust on a slot that routes nothing.
    if (sensitivityShown(slot).empty()) return;
    if (event.isRight()) {
        float status = plugin_.getParameter(param::kSlotStatus);
        editing_.editParameter(param::kSlotStatus,
                               withBitToggled(status, param::kSlotStatusStates, slot));
        rows_[slot].muted = !rows_[slot].muted;
        invalid();
    } else if (event.isLeft() && event.doubleClick) {
        startEntry(slot);
    } else if (event.isLeft()) {
        dragSlot_ = slot;
        drag_.start(event.where.y, rows_[slot].sensitivity, event.modifiers);
        editing_.beginEdit(param::kSlotSensitivity1 + slot);
        invalid();
    }
}

bool CCordWnd::menuMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return true;
    if (menuScroll_.mouseDown(event.where)) {
        invalid();
        return true;
    }
    if (exitRect().contains(event.where)) {
        showList();
    } else if (learnRect().contains(event.where)) {
        editing_.learnSlotSource(editing_.getLearningSlot() == menuSlot_ ? -1 : menuSlot_);
        invalid();
    } else if (int line = menuLineAt(event.where); line >= 0) {
        // A copy: activating a line rebuilds the menu it belongs to.
        MenuEntry entry = menu_.entries[line];
        activate(entry);
    }
    return true;
}

void CCordWnd::onMouseMoved(const gui::MouseEvent& event) {
    if (dragSlot_ >= 0) {
        int pixels = event.hasShift() ? kFineDragPixels : kDragPixels;
        SlotRow& row = rows_[dragSlot_];
        float value = drag_.valueAt(event.where.y, event.modifiers, row.sensitivity, pixels);
        if (value != row.sensitivity) {
            row.sensitivity = value;
            editing_.editParameter(param::kSlotSensitivity1 + dragSlot_, value);
            invalid();
        }
        return;
    }
    gui::ScrollBar& scroll = menuOpen_ ? menuScroll_ : listScroll_;
    if (scroll.mouseMoved(event.where)) {
        invalid();
        return;
    }
    int hover = menuOpen_ ? menuLineAt(event.where) : -1;
    if (hover != hoverLine_) {
        hoverLine_ = hover;
        invalid();
    }
}

void CCordWnd::onMouseUp(const gui::MouseEvent& /*event*/) {
    listScroll_.mouseUp();
    menuScroll_.mouseUp();
    if (dragSlot_ < 0) return;
    int slot = dragSlot_;
    dragSlot_ = -1;
    drag_.stop();
    editing_.endEdit(param::kSlotSensitivity1 + slot);
    invalid();
}

bool CCordWnd::onWheel(const gui::MouseEvent& /*event*/, float steps) {
    int lines = static_cast<int>(steps);
    if (menuOpen_) {
        scrollMenuTo(menuScroll_.first() - lines);
    } else {
        scrollListTo(listScroll_.first() - lines);
    }
    return true;
}

void CCordWnd::startEntry(int slot) {
    entrySlot_ = slot;
    entry_.start(sensitivityShown(slot), kEntryLength);
    if (gui::Frame* frame = getFrame()) frame->setFocusView(this);
    invalid();
}

void CCordWnd::commitEntry() {
    if (!entry_.isActive()) return;
    entry_.stop();
    applyEntry();
}

void CCordWnd::applyEntry() {
    int slot = entrySlot_;
    float value = parameterFromText(param::kSlotSensitivity1 + slot, entry_.text().c_str(),
                                    rows_[slot].sensitivity, ParameterContext());
    releaseFocus();
    if (value != rows_[slot].sensitivity) {
        rows_[slot].sensitivity = value;
        editing_.editParameter(param::kSlotSensitivity1 + slot, value);
    }
}

void CCordWnd::releaseFocus() {
    if (gui::Frame* frame = getFrame(); frame != nullptr && frame->getFocusView() == this)
        frame->setFocusView(nullptr);
    invalid();
}

bool CCordWnd::onKeyDown(const gui::KeyEvent& event) {
    if (!entry_.isActive()) return false;
    gui::LineEditor::Result result = entry_.handleKey(event);
    if (result == gui::LineEditor::Result::kCommit) {
        applyEntry();
    } else if (result == gui::LineEditor::Result::kCancel) {
        releaseFocus();
    } else {
        invalid();
    }
    return true;
}

void CCordWnd::onFocusLost() {
    commitEntry();
}

// Drawing -------------------------------------------------------------------------------------

void CCordWnd::draw(gui::DrawContext& context) {
    context.setLineWidth(1.0);
    context.setLineStyle(gui::LineStyle::kSolid);
    if (menuOpen_) {
        drawMenu(context);
    } else {
        drawList(context);
    }
}

void CCordWnd::drawList(gui::DrawContext& context) {
    const Rect& rect = getRect();
    const int headerBottom = rect.top + kHeaderHeight - 1;
    struct Title {
        Column column;
        const char* text;
        gui::Align align;
    };
    const Title titles[] = {{Column::kNumber, "NO", gui::Align::kLeft},
                            {Column::kSource, "SOURCE", gui::Align::kLeft},
                            {Column::kSensitivity, "SENS", gui::Align::kRight},
                            {Column::kDestination, "DESTINATION", gui::Align::kLeft}};
    for (const Title& title : titles) {
        Rect span = columnSpan(title.column);
        CTextPrinter::print(context, title.text, {span.left, rect.top, span.right, headerBottom},
                            title.align, CTextPrinter::Style::kDimmed, Skin::captionFont());
    }
    context.setColor(Skin::kLight.withAlpha(40));
    context.drawLine(rect.left, headerBottom, rect.right - 1, headerBottom);

    for (int visible = 0; visible < getVisibleRows(); ++visible) {
        int slot = listScroll_.first() + visible;
        if (slot >= kSlots) break;
        const SlotRow& row = rows_[slot];
        Rect number = cellRect(slot, Column::kNumber);
        // Faint stripes make the rows easy to follow.
        if (slot % 2 == 0) {
            context.setColor(Skin::kLight.withAlpha(10));
            context.fillRect({number.left, number.top, cellRect(slot, Column::kDestination).right,
                              number.bottom});
        }
        char label[16];
        std::snprintf(label, sizeof(label), "%02d", slot + 1);
        CTextPrinter::print(context, label, number, gui::Align::kLeft, CTextPrinter::Style::kDimmed,
                            rowFont());
        // Long names stop short of the sensitivity.
        Rect source = cellRect(slot, Column::kSource);
        source.right -= 3;
        CTextPrinter::print(context, row.sourceName.c_str(), source, gui::Align::kLeft,
                            CTextPrinter::Style::kNormal, rowFont());
        Rect sensitivity = cellRect(slot, Column::kSensitivity);
        if (entry_.isActive() && slot == entrySlot_) {
            entry_.draw(context, sensitivity, rowFont(), Skin::kDark, Skin::kLight);
        } else {
            if (slot == dragSlot_) {
                context.setColor(Skin::kLight.withAlpha(28));
                context.fillRect(sensitivity);
            }
            // A little more air before the destination's name.
            Rect text = sensitivity;
            text.right -= 3;
            CTextPrinter::print(
                context, sensitivityShown(slot).c_str(), text, gui::Align::kRight,
                row.muted ? CTextPrinter::Style::kDimmed : CTextPrinter::Style::kNormal, rowFont());
        }
        CTextPrinter::print(context, row.destinationName.c_str(),
                            cellRect(slot, Column::kDestination), gui::Align::kLeft,
                            CTextPrinter::Style::kNormal, rowFont());
    }
    listScroll_.draw(context, Skin::kLight, Skin::smallFont());
}

void CCordWnd::drawMenu(gui::DrawContext& context) {
    const Rect& rect = getRect();
    const int headerBottom = rect.top + kHeaderHeight - 1;
    context.drawText(menuTitle().c_str(), {rect.left, rect.top, rect.right, headerBottom},
                     gui::Align::kCenter, Skin::captionFont(), Skin::kLight);
    context.setColor(Skin::kLight.withAlpha(40));
    context.drawLine(rect.left, headerBottom, rect.right - 1, headerBottom);

    const int chosen = menu_.lineOfChoice(currentChoice());
    for (int visible = 0; visible < getVisibleMenuLines(); ++visible) {
        int line = menuScroll_.first() + visible;
        if (line >= static_cast<int>(menu_.entries.size())) break;
        const MenuEntry& entry = menu_.entries[line];
        Rect box = menuLineRect(line);
        CTextPrinter::Style style = CTextPrinter::Style::kNormal;
        if (line == chosen) {
            style = CTextPrinter::Style::kHighlighted;
        } else if (line == hoverLine_) {
            context.setColor(Skin::kLight.withAlpha(40));
            context.fillRect(box);
        }
        if (entry.kind == MenuEntry::Kind::kParent) style = CTextPrinter::Style::kDimmed;
        CTextPrinter::print(context, entry.text.c_str(), box, gui::Align::kLeft, style, rowFont());
        if (entry.kind == MenuEntry::Kind::kOpen) {
            CTextPrinter::print(context, ">", box, gui::Align::kRight, CTextPrinter::Style::kDimmed,
                                rowFont());
        }
    }
    menuScroll_.draw(context, Skin::kLight, Skin::smallFont());
    drawLitBox(context, exitRect(), false, "EXIT");
    if (menu_.level == MenuLevel::kControllers)
        drawLitBox(context, learnRect(), editing_.getLearningSlot() == menuSlot_, "LEARN");
}

}  // namespace kirra::editor
