#include "editor/routing/CCordWnd.h"

#include <algorithm>
#include <cstdio>

#include "editor/CTextPrinter.h"
#include "editor/routing/RoutingTexts.h"
#include "editor/routing/SlotEditing.h"
#include "editor/routing/SourceLabels.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterDescription.h"
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

gui::Font rowFont() {
    return Skin::smallFont();
}

}  // namespace

CCordWnd::CCordWnd(const Rect& rect, Plugin& plugin, SlotEditing& editing)
    : View(rect), plugin_(plugin), editing_(editing), menus_(*this, plugin, editing) {
    Rect list = listArea();
    listScroll_.setGeometry(
        {list.right - gui::ScrollBar::kWidth, list.top, list.right, list.bottom}, kSlots,
        getVisibleRows());
    refresh();
}

CCordWnd::~CCordWnd() {
    menus_.stopLearning();
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
    row.sourceName = slotSourceLabel(plugin_, row.source);
    plugin_.getDestinationName(row.destination, name);
    row.destinationName = name;
}

int CCordWnd::readMuteBits() const {
    return valueToIndex(plugin_.getParameter(param::kSlotStatus), param::kSlotStatusStates);
}

void CCordWnd::refresh() {
    // One wait for the engine instead of one per name.
    platform::EngineLock lock(plugin_.getEngineMutex());
    int muteBits = readMuteBits();
    for (int slot = 0; slot < kSlots; ++slot)
        readSlot(slot, muteBits);
    // The modules named in an open menu may have been replaced.
    if (menus_.isOpen()) menus_.rebuild();
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

int CCordWnd::getVisibleRows() const {
    return listArea().height() / kLineHeight;
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
    if (menus_.isOpen() || slot < 0 || slot >= kSlots || visible < 0 || visible >= getVisibleRows())
        return {};
    Rect span = columnSpan(column);
    int top = listArea().top + visible * kLineHeight;
    return {span.left, top, span.right, top + kLineHeight};
}

std::string CCordWnd::tooltip(gui::Point where) const {
    const int slot = menus_.isOpen() ? -1 : slotAt(where);
    if (slot < 0) return {};
    const SlotRow& row = rows_[slot];
    ModuleText name = "";
    std::string prefix = "Slot " + std::to_string(slot + 1) + " ";
    switch (columnAt(where.x)) {
        case Column::kSource:
            plugin_.getSourceName(row.source, false, name);
            return prefix + "source: " + (name[0] != 0 ? name : "none") +
                   "\nclick: choose, right-click: show the modulator";
        case Column::kSensitivity:
            return prefix + "sensitivity: " + sensitivityShown(slot) +
                   (row.muted ? " (muted)" : "") +
                   "\ndrag: change, shift: fine, right-click: mute, double-click: type";
        case Column::kDestination:
            return prefix +
                   "destination: " + (row.destinationName.empty() ? "none" : row.destinationName) +
                   "\nclick: choose, right-click: show the module";
        default:
            return {};
    }
}

int CCordWnd::slotAt(gui::Point where) const {
    Rect list = listArea();
    if (!list.contains(where)) return -1;
    int slot = listScroll_.first() + (where.y - list.top) / kLineHeight;
    return slot < kSlots ? slot : -1;
}

void CCordWnd::scrollListTo(int firstRow) {
    if (listScroll_.scrollTo(firstRow)) invalid();
}

// Menus ---------------------------------------------------------------------------------------

void CCordWnd::openSourceMenu(int slot) {
    openMenu(slot, MenuLevel::kSources);
}

void CCordWnd::openDestinationMenu(int slot) {
    openMenu(slot, MenuLevel::kDestinations);
}

void CCordWnd::openMenu(int slot, MenuLevel level) {
    if (slot < 0 || slot >= kSlots) return;
    commitEntry();
    menus_.open(slot, level);
}

void CCordWnd::sourceLearned(int slot) {
    readSlot(slot, readMuteBits());
    menus_.sourceLearned(slot);
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
    if (!menus_.isOpen()) return listMouseDown(event);
    // A choice closes the menu; the list shows it at once.
    if (menus_.mouseDown(event) == SlotMenuBrowser::Click::kChosen)
        readSlot(menus_.getSlot(), readMuteBits());
    return true;
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
    if (menus_.isOpen()) {
        menus_.mouseMoved(event);
    } else if (listScroll_.mouseMoved(event.where)) {
        invalid();
    }
}

void CCordWnd::onMouseUp(const gui::MouseEvent& /*event*/) {
    listScroll_.mouseUp();
    menus_.mouseUp();
    if (dragSlot_ < 0) return;
    int slot = dragSlot_;
    dragSlot_ = -1;
    drag_.stop();
    editing_.endEdit(param::kSlotSensitivity1 + slot);
    invalid();
}

bool CCordWnd::onWheel(const gui::MouseEvent& /*event*/, float steps) {
    int lines = static_cast<int>(steps);
    if (menus_.isOpen()) {
        menus_.scrollTo(menus_.getFirstLine() - lines);
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
    if (menus_.isOpen()) {
        menus_.draw(context);
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
                            title.align, CTextPrinter::Style::kDimmed, Skin::smallFont());
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
    listScroll_.draw(context, Skin::kLight, Skin::kGreyText, Skin::smallFont());
}

}  // namespace kirra::editor
