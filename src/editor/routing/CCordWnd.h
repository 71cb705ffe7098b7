#pragma once
// The modulation-slot window: the sixteen slots as a scrolling list with their number, source,
// sensitivity and destination, and, drawn inside the same window, the menus that choose a slot's
// source or destination level by level (SlotMenuBrowser).
//
// In the list a left click on the source or destination opens its menu, a right click there
// selects the modulator or operator it names; the sensitivity is dragged (200 pixels for the full
// range, 1000 with shift), muted with a right click ("----") and typed after a double click. A
// slot without a source or destination shows no sensitivity.
//
// The window reads what it shows from the plug-in when told that something changed (`refresh`),
// never while drawing; it keeps its scroll positions and menu only while it exists.

#include <string>

#include "editor/routing/SlotMenuBrowser.h"
#include "engine/ParameterIndex.h"
#include "gui/LineEditor.h"
#include "gui/ScrollBar.h"
#include "gui/VerticalDrag.h"
#include "gui/View.h"
#include "modules/ModuleText.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

class SlotEditing;

class CCordWnd : public gui::View {
  public:
    static constexpr int kSlots = param::kModulationSlots;
    static constexpr int kLineHeight = 10;
    static constexpr int kHeaderHeight = 11;
    static constexpr int kDragPixels = 200;
    static constexpr int kFineDragPixels = 1000;
    enum class Column { kNumber, kSource, kSensitivity, kDestination, kNone };

    CCordWnd(const gui::Rect& rect, Plugin& plugin, SlotEditing& editing);
    // A controller list waiting for learn stops waiting with the window.
    ~CCordWnd() override;

    // Reads every slot again (a slot parameter or a module type changed).
    void refresh();

    // List mode.
    void scrollListTo(int firstRow);
    int getFirstRow() const { return listScroll_.first(); }
    int getVisibleRows() const;
    const gui::ScrollBar& listScrollBar() const { return listScroll_; }
    // The cell of a slot in the list, or an empty rectangle when it is scrolled out of view.
    gui::Rect cellRect(int slot, Column column) const;
    const std::string& sourceShown(int slot) const { return rows_[slot].sourceName; }
    const std::string& destinationShown(int slot) const { return rows_[slot].destinationName; }
    std::string sensitivityShown(int slot) const;
    // The source and destination numbers the list shows.
    int sourceNumber(int slot) const { return rows_[slot].source; }
    int destinationNumber(int slot) const { return rows_[slot].destination; }

    // Menu mode.
    void openSourceMenu(int slot);
    void openDestinationMenu(int slot);
    void showList() { menus_.close(); }
    bool isMenuOpen() const { return menus_.isOpen(); }
    int getEditedSlot() const { return menus_.getSlot(); }
    const SlotMenu& menu() const { return menus_.menu(); }
    std::string menuTitle() const { return menus_.title(); }
    void scrollMenuTo(int firstLine) { menus_.scrollTo(firstLine); }
    int getFirstMenuLine() const { return menus_.getFirstLine(); }
    int getVisibleMenuLines() const { return menus_.getVisibleLines(); }
    const gui::ScrollBar& menuScrollBar() const { return menus_.scrollBar(); }
    // A line of the menu, or an empty rectangle when it is scrolled out of view.
    gui::Rect menuLineRect(int line) const { return menus_.lineRect(line); }
    gui::Rect exitRect() const { return menus_.exitRect(); }
    // Only in the controller list.
    gui::Rect learnRect() const { return menus_.learnRect(); }
    // Controller learn found the slot's source: the menu waiting for it closes.
    void sourceLearned(int slot);

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    void onMouseMoved(const gui::MouseEvent& event) override;
    void onMouseUp(const gui::MouseEvent& event) override;
    bool onWheel(const gui::MouseEvent& event, float steps) override;
    bool onKeyDown(const gui::KeyEvent& event) override;
    void onFocusLost() override;

  private:
    struct SlotRow {
        int source = 0;
        int destination = 0;
        float sensitivity = 0.5f;
        bool muted = false;
        std::string sourceName;
        std::string destinationName;
    };

    void readSlot(int slot, int muteBits);
    int readMuteBits() const;
    gui::Rect listArea() const;
    gui::Rect columnSpan(Column column) const;
    Column columnAt(int x) const;
    int slotAt(gui::Point where) const;

    bool listMouseDown(const gui::MouseEvent& event);
    void sensitivityMouseDown(int slot, const gui::MouseEvent& event);
    void openMenu(int slot, MenuLevel level);
    void selectModuleOf(int slot, Column column);

    void startEntry(int slot);
    void commitEntry();
    void applyEntry();
    void releaseFocus();

    void drawList(gui::DrawContext& context);

    Plugin& plugin_;
    SlotEditing& editing_;
    SlotRow rows_[kSlots];
    gui::ScrollBar listScroll_;

    // menu mode
    SlotMenuBrowser menus_;

    // sensitivity editing: a drag, or typing
    gui::VerticalDrag drag_;
    int dragSlot_ = -1;
    gui::LineEditor entry_;
    int entrySlot_ = -1;
};

}  // namespace kirra::editor
